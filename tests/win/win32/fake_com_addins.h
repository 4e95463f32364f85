// FakeComAddins: Excel's COM add-in manager for the fake Excel under Wine,
// as the Application's COMAddIns and Run see it. Like Excel it knows the
// add-ins listed under HKCU\Software\Microsoft\Office\Excel\Addins when it
// starts and at COMAddIns.Update, and no others. Connect = True reads the
// add-in's class from HKCU\Software\Classes\<ProgID>\CLSID, creates it with
// CoCreateInstance (in process), calls OnConnection with the Application,
// asks the object's IRibbonExtensibility for its markup for
// "Microsoft.Excel.Workbook", checks it as Excel does (CheckCustomUi),
// looks up every callback it names through the object's IDispatch and
// fetches every getImage image, which must be a bitmap picture. A refused
// markup or a callback the object does not answer is noted, as Excel's
// add-in error report would show it, and no tab is shown. Connect = False
// calls OnDisconnection and lets the object go. Run(name) calls the command
// the XLL registered under that name through REGISTER and, like Excel,
// fails with "Cannot run the macro" when there is none.

#ifndef MARROWFIELD_TESTS_WIN_WIN32_FAKE_COM_ADDINS_H_
#define MARROWFIELD_TESTS_WIN_WIN32_FAKE_COM_ADDINS_H_

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "custom_ui_check.h"
#include "win32/com_fake_excel.h"

namespace marrowfield {

class FakeComAddins : public ApplicationExtension {
 public:
  // Serves the Application of |process| of |excel|'s model, which must
  // outlive this object; reads the add-ins' keys as Excel does at start.
  FakeComAddins(ComFakeExcel& excel, int process);
  // An add-in still connected is disconnected as at Excel's shutdown.
  ~FakeComAddins() override;
  FakeComAddins(const FakeComAddins&) = delete;
  FakeComAddins& operator=(const FakeComAddins&) = delete;

  // Knobs: an Application without COMAddIns; Connect = True refused with
  // |hr| (as a policy that disables add-ins makes Excel refuse it).
  void HideComAddins() { hidden_ = true; }
  void RefuseConnect(HRESULT hr) { refusal_ = hr; }
  // Application.Run refuses |name| from now on, as Excel does where macros
  // are disabled, even when a command is registered under it.
  void DisableMacro(const std::string& name) { disabled_.push_back(name); }

  bool Connected(const std::string& progId) const;
  // The markup of the last connection, as checked.
  const CustomUiCheck& ribbon() const { return ribbon_; }
  // What Excel would have reported about add-ins' ribbons.
  const std::vector<std::string>& problems() const { return problems_; }
  // Names Application.Run was asked for, in order.
  const std::vector<std::string>& runs() const { return runs_; }
  int connections() const { return connections_; }
  int disconnections() const { return disconnections_; }
  int images() const { return images_; }
  // References to the manager's own objects (COMAddIns, COMAddIn,
  // controls) handed out and not given back.
  int outstanding() const { return outstanding_; }

  // Presses the button |id| of the connected ribbon: its onAction callback
  // through IDispatch::Invoke, with an IRibbonControl as the one argument.
  // E_FAIL when no connected ribbon has that button.
  HRESULT Press(const std::string& id);

  bool IdOfName(const std::wstring& name, DISPID* member) override;
  bool Invoke(DISPID member, WORD flags, DISPPARAMS* parameters,
              VARIANT* result, EXCEPINFO* exception, HRESULT* hr) override;

 private:
  class Dispatch;
  class Collection;
  class Entry;
  class Control;
  struct Listed {
    std::unique_ptr<Entry> entry;
    std::string description;
    bool listed = false;
    IUnknown* object = nullptr;      // the connected add-in's object
    IDispatch* callbacks = nullptr;  // its IDispatch, for the callbacks
  };

  void ReadRegistry();
  HRESULT ConnectAddin(const std::string& progId, Listed& addin);
  void DisconnectAddin(Listed& addin, int mode);
  HRESULT Run(const std::string& name, VARIANT* result, EXCEPINFO* exception);
  HRESULT Callback(IDispatch* object, const std::string& name,
                   const CustomUiControl& control, VARIANT* result);
  // The COMAddIn for an Item argument, or null.
  Entry* Find(const VARIANT& index);

  ComFakeExcel& excel_;
  int process_;
  bool hidden_ = false;
  HRESULT refusal_ = S_OK;
  std::unique_ptr<Collection> collection_;
  std::map<std::string, Listed> addins_;
  CustomUiCheck ribbon_;
  std::vector<std::string> problems_;
  std::vector<std::string> runs_;
  std::vector<std::string> disabled_;
  int connections_ = 0;
  int disconnections_ = 0;
  int images_ = 0;
  int outstanding_ = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_WIN_WIN32_FAKE_COM_ADDINS_H_
