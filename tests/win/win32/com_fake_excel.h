// ComFakeExcel: the COM skin of FakeExcelModel. Each model object is a real
// IDispatch whose AddRef and Release are the model's reference counts, so
// the references COM itself takes (the running-object table, marshalling)
// are counted like the add-in's. Publish registers the active process's
// Application with RegisterActiveObject under Excel's class and every saved
// workbook in the running-object table under a file moniker, as Excel does;
// the ProgID "Excel.Application" is registered while the object lives.

#ifndef MARROWFIELD_TESTS_WIN_WIN32_COM_FAKE_EXCEL_H_
#define MARROWFIELD_TESTS_WIN_WIN32_COM_FAKE_EXCEL_H_

#include <oaidl.h>
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fake_excel_model.h"

namespace marrowfield {

// Members of the Application that live outside the model, in the COM
// world itself (COMAddIns, Run): a skin-side extension answers their names
// before the model does.
class ApplicationExtension {
 public:
  virtual ~ApplicationExtension() = default;
  // The identifier of |name| (compared ignoring case, as Excel does), or
  // false when the extension has no such member.
  virtual bool IdOfName(const std::wstring& name, DISPID* member) = 0;
  // Handles |member| if it is one of the extension's, setting *|hr|.
  virtual bool Invoke(DISPID member, WORD flags, DISPPARAMS* parameters,
                      VARIANT* result, EXCEPINFO* exception, HRESULT* hr) = 0;
};

class ComFakeExcel {
 public:
  // |model| must outlive this object. Registers the ProgID unless
  // |registerProgId| is false (a COM server whose registration is the
  // test's).
  explicit ComFakeExcel(FakeExcelModel& model, bool registerProgId = true);
  // Withdraws what is still published and takes the ProgID back.
  ~ComFakeExcel();
  ComFakeExcel(const ComFakeExcel&) = delete;
  ComFakeExcel& operator=(const ComFakeExcel&) = delete;

  void Publish();
  void Withdraw();

  // The model's object behind |object|; 0 for pointers not from here.
  int ObjectOf(IDispatch* object) const;
  // The COM object of model object |objectId| (no reference added).
  IDispatch* Dispatch(int objectId);

  FakeExcelModel& model() { return model_; }

  // Every Application asks |extension| first (null: none); it must outlive
  // its use.
  void SetApplicationExtension(ApplicationExtension* extension) {
    extension_ = extension;
  }

 private:
  class Object;

  FakeExcelModel& model_;
  std::map<int, std::unique_ptr<Object>> objects_;
  DWORD activeRegistration_ = 0;
  bool activeRegistered_ = false;
  std::vector<DWORD> documentRegistrations_;
  HKEY progIdRoot_ = nullptr;  // where the ProgID was registered
  ApplicationExtension* extension_ = nullptr;
};

// Excel's class identifier, {00024500-0000-0000-C000-000000000046}.
extern const CLSID kExcelApplicationClass;

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_WIN_WIN32_COM_FAKE_EXCEL_H_
