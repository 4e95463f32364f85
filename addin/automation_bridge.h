// AutomationBridge: the HostAutomation port built on the automation port.
// It connects the add-in to the Application object of its own host process
// when the add-in opens, keeps that object and its Workbooks collection
// while the add-in stays open, and gives both back when it closes.

#ifndef MARROWFIELD_ADDIN_AUTOMATION_BRIDGE_H_
#define MARROWFIELD_ADDIN_AUTOMATION_BRIDGE_H_

#include <cstdint>
#include <string>

#include "automation_port.h"
#include "host_automation.h"
#include "host_object.h"

struct IDispatch;

// The Application's Workbooks collection; one reference while connected.
extern IDispatch* g_pdispWorkbooks;
// OLE has been initialised on the host's thread by the bridge.
extern bool g_bOleInitialized;

namespace marrowfield {

class DebugOutput;
class HostWindows;

class AutomationBridge : public HostAutomation {
 public:
  // |port|, |debug| and |windows| must outlive the bridge. With no
  // |windows| only the probe can find the Application.
  AutomationBridge(AutomationPort& port, DebugOutput& debug,
                   HostWindows* windows = nullptr)
      : port_(port), debug_(debug), windows_(windows) {}

  // Turns the host's screen updating off, has the host make a temporary
  // document (a host with no document open may not yet have announced
  // itself to the running-object table, nor have a workbook window), finds
  // the own Application and its Workbooks, closes the temporary document
  // again if one was made, and turns screen updating back on. The
  // Application is found through the host's workbook windows first, with
  // no macro (hosts that block Excel 4.0 macros refuse the probe), and only
  // then by the probe. Returns S_OK, E_FAIL with "NULL != g_pdispXL\n" on
  // the debug output when already connected, the failure of OleInitialize
  // (after "OleInitialize Failed\n"), the probe walk's failure when neither
  // way finds it (after one line on the debug output naming both), or the
  // failure of getting Workbooks (which drops the connection).
  int32_t ConnectToHost() noexcept override;

  // Releases the Application and Workbooks references, each once, and
  // clears both pointers; does nothing for those already null.
  void ReleaseApplication() noexcept override;

  // OleUninitialize once for the OleInitialize that set g_bOleInitialized,
  // which it clears, so that the next connect initialises afresh.
  void UninitializeOle() noexcept override;

  // Workbooks.Add(templatePath) on the connected Application; the new
  // workbook becomes the active one. Throws HostCallError when the host
  // fails, or with E_FAIL when not connected.
  void AddWorkbookFromTemplate(const std::string& templatePath) override;

  // The connected Application as a HostObject that does not release it:
  // the bridge keeps the one reference until ReleaseApplication, so the
  // wrapper must not outlive the connection. A kept Application that no
  // longer answers Version is given up; with none kept, the workbook
  // windows are searched again (a host started with no workbook has none
  // at open). Null when there is none to be had.
  HostObject Application() noexcept;

  AutomationPort& port() { return port_; }

 private:
  int32_t Connect();
  // The window route, then the probe walk, into g_pdispXL.
  HResult FindApplication();
  // Gives up a kept Application that no longer answers and, with none
  // kept, looks through the workbook windows again.
  void RefreshApplication();
  // Whether the kept Application still answers.
  bool StillAnswers(IDispatch* application);

  AutomationPort& port_;
  DebugOutput& debug_;
  HostWindows* windows_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_AUTOMATION_BRIDGE_H_
