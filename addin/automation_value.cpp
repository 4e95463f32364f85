// DispatchRef's release-once bookkeeping and AutomationValue's makers.

#include "automation_value.h"

#include <cstddef>
#include <utility>

#include "automation_port.h"

namespace marrowfield {

DispatchRef::DispatchRef(DispatchRef&& other) noexcept
    : port_(other.port_), object_(other.object_) {
  other.object_ = nullptr;
}

DispatchRef& DispatchRef::operator=(DispatchRef&& other) noexcept {
  if (this != &other) {
    Reset();
    port_ = other.port_;
    object_ = other.object_;
    other.object_ = nullptr;
  }
  return *this;
}

void DispatchRef::Reset() noexcept {
  // Cleared before the release, so that a re-entrant call from the object
  // being destroyed can never release it a second time.
  IDispatch* object = object_;
  object_ = nullptr;
  if (object != nullptr && port_ != nullptr) port_->Release(object);
}

IDispatch* DispatchRef::Detach() noexcept {
  IDispatch* object = object_;
  object_ = nullptr;
  return object;
}

const AutomationValue& AutomationArray::At(int32_t row, int32_t column) const {
  return cells[static_cast<std::size_t>(row - 1) *
                   static_cast<std::size_t>(columns) +
               static_cast<std::size_t>(column - 1)];
}

AutomationValue& AutomationArray::At(int32_t row, int32_t column) {
  return cells[static_cast<std::size_t>(row - 1) *
                   static_cast<std::size_t>(columns) +
               static_cast<std::size_t>(column - 1)];
}

AutomationValue AutomationValue::Int16(int16_t number) {
  AutomationValue value;
  value.data_ = number;
  return value;
}

AutomationValue AutomationValue::Int32(int32_t number) {
  AutomationValue value;
  value.data_ = number;
  return value;
}

AutomationValue AutomationValue::Double(double number) {
  AutomationValue value;
  value.data_ = number;
  return value;
}

AutomationValue AutomationValue::Boolean(bool flag) {
  AutomationValue value;
  value.data_ = flag;
  return value;
}

AutomationValue AutomationValue::String(std::string text) {
  AutomationValue value;
  value.data_ = std::move(text);
  return value;
}

AutomationValue AutomationValue::Object(DispatchRef object) {
  AutomationValue value;
  value.data_ = std::move(object);
  return value;
}

AutomationValue AutomationValue::Error(int32_t code) {
  AutomationValue value;
  value.data_ = ErrorCode{code};
  return value;
}

AutomationValue AutomationValue::Array(AutomationArray array) {
  AutomationValue value;
  value.data_ = std::move(array);
  return value;
}

AutomationValue AutomationValue::Other(uint16_t typeCode) {
  AutomationValue value;
  value.data_ = OtherType{typeCode};
  return value;
}

ValueKind AutomationValue::kind() const {
  // The order of the alternatives is the order of ValueKind.
  return static_cast<ValueKind>(data_.index());
}

DispatchRef AutomationValue::TakeObject() {
  DispatchRef object;
  if (auto* held = std::get_if<DispatchRef>(&data_)) object = std::move(*held);
  data_ = std::monostate{};
  return object;
}

}  // namespace marrowfield
