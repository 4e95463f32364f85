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
#include <vector>

#include "fake_excel_model.h"

namespace marrowfield {

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

 private:
  class Object;

  FakeExcelModel& model_;
  std::map<int, std::unique_ptr<Object>> objects_;
  DWORD activeRegistration_ = 0;
  bool activeRegistered_ = false;
  std::vector<DWORD> documentRegistrations_;
  HKEY progIdRoot_ = nullptr;  // where the ProgID was registered
};

// Excel's class identifier, {00024500-0000-0000-C000-000000000046}.
extern const CLSID kExcelApplicationClass;

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_WIN_WIN32_COM_FAKE_EXCEL_H_
