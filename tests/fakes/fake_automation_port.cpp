// The native skin's conversions and its small stand-ins for the running-
// object table and its monikers. Handles are the model's object numbers
// dressed as pointers; they are never dereferenced, only looked up.

#include "fake_automation_port.h"

#include <cstdint>
#include <cstdio>
#include <utility>

#include "bridge_state.h"

namespace marrowfield {
namespace {

constexpr HResult kClassString = static_cast<HResult>(0x800401F3u);
constexpr HResult kUnavailable = static_cast<HResult>(0x800401E3u);
constexpr HResult kInvalidArgument = static_cast<HResult>(0x80070057u);
constexpr HResult kClassNotRegistered = static_cast<HResult>(0x80040154u);
constexpr uintptr_t kHandleBase = 0x10000;

}  // namespace

IDispatch* FakeHandle(int objectId) {
  return reinterpret_cast<IDispatch*>(kHandleBase +
                                      static_cast<uintptr_t>(objectId) * 16);
}

int FakeAutomationPort::ObjectOf(IDispatch* handle) const {
  const auto address = reinterpret_cast<uintptr_t>(handle);
  if (address <= kHandleBase || (address - kHandleBase) % 16 != 0) return 0;
  const int id = static_cast<int>((address - kHandleBase) / 16);
  return model_.Knows(id) ? id : 0;
}

class FakeAutomationPort::FakeMoniker : public Moniker {
 public:
  FakeMoniker(FakeAutomationPort& port, FakeExcelModel::RunningEntry entry)
      : port_(port), entry_(std::move(entry)) {
    ++port_.liveMonikers;
  }
  ~FakeMoniker() override { --port_.liveMonikers; }
  const FakeExcelModel::RunningEntry& entry() const { return entry_; }

 private:
  FakeAutomationPort& port_;
  FakeExcelModel::RunningEntry entry_;
};

// The entries are taken when the walk opens, as a real enumerator holds a
// snapshot of the table.
class FakeAutomationPort::Table : public RunningObjects {
 public:
  explicit Table(FakeAutomationPort& port)
      : port_(port), entries_(port.model_.RunningEntries()) {
    ++port_.liveTables;
  }
  ~Table() override { --port_.liveTables; }

  HResult Next(std::unique_ptr<Moniker>* moniker) noexcept override {
    port_.Note("Next");
    if (next_ >= entries_.size()) return kSFalse;
    *moniker = std::make_unique<FakeMoniker>(port_, entries_[next_++]);
    return kSOk;
  }

  HResult Bind(Moniker& moniker, DispatchRef* object) noexcept override {
    const auto& entry = static_cast<FakeMoniker&>(moniker).entry();
    port_.Note("Bind " + entry.name);
    const int id = port_.model_.Bind(entry);
    if (id == 0) return kInvalidArgument;
    *object = DispatchRef(port_, FakeHandle(id));
    return kSOk;
  }

 private:
  FakeAutomationPort& port_;
  std::vector<FakeExcelModel::RunningEntry> entries_;
  std::size_t next_ = 0;
};

void FakeAutomationPort::Note(std::string call) {
  if (g_bOkayToSetIFlag) call += " +";
  calls.push_back(std::move(call));
}

HResult FakeAutomationPort::InitializeOle() noexcept {
  Note("InitializeOle");
  ++oleInitializeCalls;
  return oleInitializeResult;
}

void FakeAutomationPort::UninitializeOle() noexcept {
  Note("UninitializeOle");
  ++oleUninitializeCalls;
}

HResult FakeAutomationPort::ClassIdFromProgId(const std::string& progId,
                                              ClassId* classId) noexcept {
  Note("ClassIdFromProgId " + progId);
  if (!classRegistered || progId != "Excel.Application") return kClassString;
  *classId = ClassId{0x00024500, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  return kSOk;
}

HResult FakeAutomationPort::GetActiveObject(const ClassId& classId,
                                            DispatchRef* object) noexcept {
  Note("GetActiveObject");
  if (classId.data1 != 0x00024500) return kUnavailable;
  const int id = model_.ActiveObject();
  if (id == 0) return kUnavailable;
  *object = DispatchRef(*this, FakeHandle(id));
  return kSOk;
}

HResult FakeAutomationPort::GetIdOfName(IDispatch* object,
                                        const std::string& name,
                                        uint32_t locale,
                                        DispId* member) noexcept {
  char locale_text[16];
  std::snprintf(locale_text, sizeof(locale_text), " 0x%04X",
                static_cast<unsigned>(locale));
  Note("GetIdOfName " + name + locale_text);
  const int id = ObjectOf(object);
  if (id == 0) {
    ++foreignHandles;
    return kEPointer;
  }
  return model_.GetIdOfName(id, name, locale, member);
}

HResult FakeAutomationPort::Invoke(IDispatch* object,
                                   const InvokeRequest& request,
                                   AutomationValue* result,
                                   InvokeException* exception,
                                   uint32_t* argumentError) noexcept {
  char text[48];
  std::snprintf(text, sizeof(text), "Invoke 0x%04X", request.member);
  Note(text);
  if (result != nullptr) *result = AutomationValue();
  const int id = ObjectOf(object);
  if (id == 0) {
    ++foreignHandles;
    return kEPointer;
  }
  if (clockMs < busyUntilMs) {
    ++busyRejections;
    return static_cast<HResult>(0x80010001u);  // RPC_E_CALL_REJECTED
  }
  try {
    std::vector<ModelValue> arguments;
    for (const AutomationValue& argument : request.arguments) {
      arguments.push_back(ToModel(argument));
    }
    ModelValue answer;
    const HResult hr = model_.Invoke(
        id, request.member, static_cast<uint16_t>(request.kind), request.locale,
        arguments, result != nullptr ? &answer : nullptr);
    if (hr == kDispEException && exception != nullptr) {
      exception->code = hr;
      exception->source = "Microsoft Excel";
      exception->description = "the fake Excel refused the call";
    }
    if (argumentError != nullptr) *argumentError = 0;
    if (hr == 0 && result != nullptr) *result = FromModel(answer);
    return hr;
  } catch (...) {
    return kEOutOfMemory;
  }
}

HResult FakeAutomationPort::OpenRunningObjects(
    std::unique_ptr<RunningObjects>* table) noexcept {
  Note("OpenRunningObjects");
  if (openTablesResult != 0) return openTablesResult;
  try {
    *table = std::make_unique<Table>(*this);
  } catch (...) {
    return kEOutOfMemory;
  }
  ++tablesOpened;
  return kSOk;
}

void FakeAutomationPort::Release(IDispatch* object) noexcept {
  const int id = ObjectOf(object);
  if (id == 0) {
    ++foreignHandles;
    return;
  }
  model_.Release(id);
}

HResult FakeAutomationPort::CreateInstance(const ClassId& classId,
                                           uint32_t contexts,
                                           DispatchRef* object) noexcept {
  Note("CreateInstance");
  createdWithContexts = contexts;
  if (createInstanceResult != 0) return createInstanceResult;
  if (classId.data1 != 0x00024500) return kClassNotRegistered;
  const int id = model_.ActiveObject();
  if (id == 0) return kClassNotRegistered;
  *object = DispatchRef(*this, FakeHandle(id));
  return kSOk;
}

bool FakeAutomationPort::SystemMessage(HResult hr, std::string* text) noexcept {
  const auto found = systemMessages.find(hr);
  if (found == systemMessages.end()) return false;
  try {
    *text = found->second;
  } catch (...) {
    return false;
  }
  return true;
}

bool FakeAutomationPort::TakeErrorInfo(IDispatch* object, std::string* source,
                                       std::string* description) noexcept {
  if (!errorInfoLeft || ObjectOf(object) == 0) return false;
  errorInfoLeft = false;
  try {
    *source = errorInfoSource;
    *description = errorInfoDescription;
  } catch (...) {
    return false;
  }
  return true;
}

AutomationValue FakeAutomationPort::FromModel(const ModelValue& value) {
  switch (value.kind) {
    case ModelValue::Kind::kEmpty:
      return AutomationValue();
    case ModelValue::Kind::kInteger:
      return value.typeCode == 2
                 ? AutomationValue::Int16(static_cast<int16_t>(value.integer))
                 : AutomationValue::Int32(value.integer);
    case ModelValue::Kind::kDouble:
      return AutomationValue::Double(value.number);
    case ModelValue::Kind::kBoolean:
      return AutomationValue::Boolean(value.flag);
    case ModelValue::Kind::kString:
      return AutomationValue::String(value.text);
    case ModelValue::Kind::kObject:
      return AutomationValue::Object(DispatchRef(
          *this, value.objectId == 0 ? nullptr : FakeHandle(value.objectId)));
    case ModelValue::Kind::kError:
      return AutomationValue::Error(value.integer);
    case ModelValue::Kind::kGrid: {
      AutomationArray array;
      array.rows = value.rows;
      array.columns = value.columns;
      for (const ModelValue& cell : value.cells) {
        array.cells.push_back(FromModel(cell));
      }
      return AutomationValue::Array(std::move(array));
    }
  }
  return AutomationValue();
}

ModelValue FakeAutomationPort::ToModel(const AutomationValue& value) {
  switch (value.kind()) {
    case ValueKind::kInt16:
      return ModelValue::Integer(value.int16(), 2);
    case ValueKind::kInt32:
      return ModelValue::Integer(value.int32(), 3);
    case ValueKind::kDouble:
      return ModelValue::Double(value.number());
    case ValueKind::kBoolean:
      return ModelValue::Boolean(value.boolean());
    case ValueKind::kString:
      return ModelValue::String(value.text());
    case ValueKind::kObject: {
      const int id = ObjectOf(value.object().get());
      // The model only reads object arguments; it keeps no reference.
      return ModelValue::Object(id);
    }
    case ValueKind::kError:
      return ModelValue::Error(value.error());
    case ValueKind::kArray: {
      const AutomationArray& array = value.array();
      ModelValue grid;
      grid.kind = ModelValue::Kind::kGrid;
      grid.typeCode = 0x200C;  // VT_ARRAY | VT_VARIANT
      grid.rows = array.rows;
      grid.columns = array.columns;
      grid.cells.reserve(array.cells.size());
      for (const AutomationValue& cell : array.cells) {
        grid.cells.push_back(ToModel(cell));
      }
      return grid;
    }
    default:
      return ModelValue();
  }
}

}  // namespace marrowfield
