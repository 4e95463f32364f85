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

class AutomationBridge : public HostAutomation {
 public:
  // |port| and |debug| must outlive the bridge.
  AutomationBridge(AutomationPort& port, DebugOutput& debug)
      : port_(port), debug_(debug) {}

  // Turns the host's screen updating off, has the host make a temporary
  // document (a host with no document open may not yet have announced
  // itself to the running-object table), finds the own Application and its
  // Workbooks, closes the temporary document again if one was made, and
  // turns screen updating back on. Returns S_OK, E_FAIL with
  // "NULL != g_pdispXL\n" on the debug output when already connected, the
  // failure of OleInitialize (after "OleInitialize Failed\n"), E_FAIL when
  // no candidate answers the probe, or the failure of getting Workbooks
  // (which drops the connection).
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

  // The connected Application (null when not connected) as a HostObject
  // that does not release it: the bridge keeps the one reference until
  // ReleaseApplication, so the wrapper must not outlive the connection.
  HostObject Application();

  AutomationPort& port() { return port_; }

 private:
  int32_t Connect();

  AutomationPort& port_;
  DebugOutput& debug_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_AUTOMATION_BRIDGE_H_
