// ScriptedPort's answers and records.

#include "scripted_port.h"

#include <cstdint>

namespace marrowfield {
namespace {

std::string Describe(const AutomationValue& value) {
  switch (value.kind()) {
    case ValueKind::kInt16:
      return "I2:" + std::to_string(value.int16());
    case ValueKind::kInt32:
      return "I4:" + std::to_string(value.int32());
    case ValueKind::kString:
      return "BSTR:" + value.text();
    case ValueKind::kEmpty:
      return "EMPTY";
    default:
      return "OTHER";
  }
}

}  // namespace

IDispatch* ScriptedPort::Handle(int number) {
  return reinterpret_cast<IDispatch*>(static_cast<uintptr_t>(number) * 64);
}

int ScriptedPort::Number(IDispatch* handle) {
  return static_cast<int>(reinterpret_cast<uintptr_t>(handle) / 64);
}

HResult ScriptedPort::Invoke(IDispatch* object, const InvokeRequest& request,
                             AutomationValue* result,
                             InvokeException* exception, uint32_t*) noexcept {
  Call call{Number(object),   request.member, request.kind, request.locale, {},
            result != nullptr};
  for (const AutomationValue& argument : request.arguments) {
    call.arguments.push_back(Describe(argument));
  }
  calls.push_back(call);
  if (result != nullptr) *result = AutomationValue();
  if (answers.empty()) return kEFail;
  Answer answer = answers.front();
  answers.pop_front();
  if (answer.hr != 0) {
    if (exception != nullptr) {
      exception->code = answer.hr;
      exception->description = "scripted failure";
    }
    return answer.hr;
  }
  if (result == nullptr) return 0;
  switch (answer.kind) {
    case Answer::Kind::kEmpty:
      break;
    case Answer::Kind::kInt32:
      *result = AutomationValue::Int32(answer.number);
      break;
    case Answer::Kind::kString:
      *result = AutomationValue::String(answer.text);
      break;
    case Answer::Kind::kObject:
      *result =
          AutomationValue::Object(DispatchRef(*this, Handle(answer.object)));
      break;
  }
  return 0;
}

}  // namespace marrowfield
