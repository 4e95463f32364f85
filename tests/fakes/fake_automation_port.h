// FakeAutomationPort: the native skin of FakeExcelModel. It stands where
// ole32 and oleaut32 stand on Windows, hands out the model's objects as
// opaque IDispatch handles, converts values between the add-in's variant
// and the model's, and counts what the bridge opened and released of the
// running-object table, so tests can check every reference went back once.

#ifndef MARROWFIELD_TESTS_FAKES_FAKE_AUTOMATION_PORT_H_
#define MARROWFIELD_TESTS_FAKES_FAKE_AUTOMATION_PORT_H_

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "automation_port.h"
#include "fake_excel_model.h"

namespace marrowfield {

class FakeAutomationPort : public AutomationPort {
 public:
  // |model| must outlive the port.
  explicit FakeAutomationPort(FakeExcelModel& model) : model_(model) {}

  HResult InitializeOle() noexcept override;
  // A clock that moves only when the caller sleeps.
  uint64_t TickMs() noexcept override { return clockMs; }
  void SleepMs(uint32_t milliseconds) noexcept override {
    clockMs += milliseconds;
  }
  void UninitializeOle() noexcept override;
  HResult ClassIdFromProgId(const std::string& progId,
                            ClassId* classId) noexcept override;
  HResult GetActiveObject(const ClassId& classId,
                          DispatchRef* object) noexcept override;
  HResult GetIdOfName(IDispatch* object, const std::string& name,
                      uint32_t locale, DispId* member) noexcept override;
  HResult Invoke(IDispatch* object, const InvokeRequest& request,
                 AutomationValue* result, InvokeException* exception,
                 uint32_t* argumentError) noexcept override;
  HResult OpenRunningObjects(
      std::unique_ptr<RunningObjects>* table) noexcept override;
  void Release(IDispatch* object) noexcept override;
  // Starting Excel gives the active process's Application.
  HResult CreateInstance(const ClassId& classId, uint32_t contexts,
                         DispatchRef* object) noexcept override;
  bool SystemMessage(HResult hr, std::string* text) noexcept override;
  bool TakeErrorInfo(IDispatch* object, std::string* source,
                     std::string* description) noexcept override;

  // The model's object behind a handle this port gave out; 0 for others.
  int ObjectOf(IDispatch* handle) const;

  // Knobs: what OleInitialize answers; whether "Excel.Application" is a
  // registered ProgID; a failure for opening the running-object table.
  HResult oleInitializeResult = 0;
  bool classRegistered = true;
  HResult openTablesResult = 0;
  // What starting Excel answers when it fails (0: it starts, unless no
  // process is active); the system's message table; the error information
  // the next failing call leaves (taken once).
  HResult createInstanceResult = 0;
  std::map<HResult, std::string> systemMessages;
  bool errorInfoLeft = false;
  std::string errorInfoSource;
  std::string errorInfoDescription;
  uint32_t createdWithContexts = 0;

  // Records.
  // Excel is busy until the clock reaches |busyUntilMs|: every Invoke is
  // rejected (RPC_E_CALL_REJECTED) before it reaches the model.
  uint64_t clockMs = 0;
  uint64_t busyUntilMs = 0;
  int busyRejections = 0;
  int oleInitializeCalls = 0;
  int oleUninitializeCalls = 0;
  int tablesOpened = 0;
  int liveTables = 0;      // walks opened and not yet released
  int liveMonikers = 0;    // monikers handed out and not yet released
  int foreignHandles = 0;  // calls with handles this port never gave out
  // Every call in order, as "GetIdOfName Workbooks", "Invoke 0x015E",
  // "OpenRunningObjects", ..., each followed by " +" when it was made while
  // g_bOkayToSetIFlag was set.
  std::vector<std::string> calls;

 private:
  class Table;
  class FakeMoniker;

  void Note(std::string call);
  AutomationValue FromModel(const ModelValue& value);
  ModelValue ToModel(const AutomationValue& value);

  FakeExcelModel& model_;
};

// The handle FakeAutomationPort uses for the model's object |objectId|.
IDispatch* FakeHandle(int objectId);

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FAKES_FAKE_AUTOMATION_PORT_H_
