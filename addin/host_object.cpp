// HostObject's calls into the host. Arguments are encoded as Excel's
// callers always have (worksheet index VT_I2, row and column VT_I4, the
// template path a string); a failing call becomes a HostCallError carrying
// the HRESULT and, for an exception the host raised, its description.

#include "host_object.h"

#include <cstdio>
#include <utility>

#include "host_call_error.h"
#include "host_members.h"

namespace marrowfield {
namespace {

std::string DescribeFailure(DispId member, HResult hr,
                            const InvokeException& exception) {
  char head[64];
  std::snprintf(head, sizeof(head), "host member 0x%04X failed: 0x%08X",
                static_cast<unsigned>(member), static_cast<unsigned>(hr));
  std::string text = head;
  if (hr == kDispEException) {
    char code[32];
    std::snprintf(code, sizeof(code), " (0x%08X)",
                  static_cast<unsigned>(exception.code));
    text += code;
    if (!exception.source.empty()) text += " " + exception.source;
    if (!exception.description.empty()) text += ": " + exception.description;
  }
  return text;
}

}  // namespace

HostObject::HostObject(AutomationPort& port, IDispatch* object,
                       bool releaseOnDestroy)
    : port_(&port), object_(object), releaseOnDestroy_(releaseOnDestroy) {}

HostObject::HostObject(DispatchRef object)
    : port_(object.port()), releaseOnDestroy_(true) {
  object_ = object.Detach();
}

HostObject::HostObject(HostObject&& other) noexcept
    : port_(other.port_),
      object_(other.object_),
      releaseOnDestroy_(other.releaseOnDestroy_) {
  other.object_ = nullptr;
}

HostObject& HostObject::operator=(HostObject&& other) noexcept {
  if (this != &other) {
    Release();
    port_ = other.port_;
    object_ = other.object_;
    releaseOnDestroy_ = other.releaseOnDestroy_;
    other.object_ = nullptr;
  }
  return *this;
}

void HostObject::Release() noexcept {
  IDispatch* object = object_;
  object_ = nullptr;
  if (object != nullptr && releaseOnDestroy_ && port_ != nullptr) {
    port_->Release(object);
  }
}

AutomationValue HostObject::Call(DispId member, InvokeKind kind,
                                 std::vector<AutomationValue> arguments,
                                 bool wantResult) {
  if (object_ == nullptr || port_ == nullptr) return {};
  InvokeRequest request{member, kLocaleEnglishUs, kind, std::move(arguments)};
  AutomationValue result;
  InvokeException exception;
  const HResult hr = port_->Invoke(
      object_, request, wantResult ? &result : nullptr, &exception, nullptr);
  if (Failed(hr)) {
    throw HostCallError(hr, DescribeFailure(member, hr, exception));
  }
  return result;
}

HostObject HostObject::ObjectResult(AutomationValue value) {
  DispatchRef object = value.TakeObject();
  if (!object) return {};
  return HostObject(std::move(object));
}

HostObject HostObject::ActiveSheet() {
  return ObjectResult(
      Call(kDispIdActiveSheet, InvokeKind::kPropertyGet, {}, true));
}

HostObject HostObject::Workbooks() {
  return ObjectResult(
      Call(kDispIdWorkbooks, InvokeKind::kPropertyGet, {}, true));
}

HostObject HostObject::Worksheets() {
  return ObjectResult(
      Call(kDispIdWorksheets, InvokeKind::kPropertyGet, {}, true));
}

HostObject HostObject::Sheets() {
  return ObjectResult(Call(kDispIdSheets, InvokeKind::kPropertyGet, {}, true));
}

HostObject HostObject::Item(int16_t index) {
  std::vector<AutomationValue> arguments;
  arguments.push_back(AutomationValue::Int16(index));
  return ObjectResult(
      Call(kDispIdItem, InvokeKind::kPropertyGet, std::move(arguments), true));
}

int32_t HostObject::Index() {
  const AutomationValue value =
      Call(kDispIdIndex, InvokeKind::kPropertyGet, {}, true);
  switch (value.kind()) {
    case ValueKind::kInt32:
      return value.int32();
    case ValueKind::kInt16:
      return value.int16();
    default:
      return 0;
  }
}

HostObject HostObject::UsedRange() {
  return ObjectResult(
      Call(kDispIdUsedRange, InvokeKind::kPropertyGet, {}, true));
}

AutomationValue HostObject::Value() {
  return Call(kDispIdValue, InvokeKind::kPropertyGet, {}, true);
}

AutomationValue HostObject::Cell(int32_t row, int32_t column) {
  std::vector<AutomationValue> arguments;
  arguments.push_back(AutomationValue::Int32(row));
  arguments.push_back(AutomationValue::Int32(column));
  return Call(kDispIdDefaultMember, InvokeKind::kPropertyGet,
              std::move(arguments), true);
}

void HostObject::ActivateSheet() {
  Call(kDispIdActivate, InvokeKind::kMethod, {}, false);
}

void HostObject::ActivateRange() {
  // Range.Activate answers with a value; it says nothing the add-in needs.
  Call(kDispIdActivate, InvokeKind::kMethod, {}, true);
}

HostObject HostObject::Add(const std::string& templatePath) {
  std::vector<AutomationValue> arguments;
  arguments.push_back(AutomationValue::String(templatePath));
  return ObjectResult(
      Call(kDispIdAdd, InvokeKind::kMethod, std::move(arguments), true));
}

int32_t HostObject::IntegerResult(const AutomationValue& value) {
  switch (value.kind()) {
    case ValueKind::kInt32:
      return value.int32();
    case ValueKind::kInt16:
      return value.int16();
    case ValueKind::kDouble:
      return static_cast<int32_t>(value.number());
    default:
      return 0;
  }
}

std::string HostObject::Name() {
  const AutomationValue value =
      Call(kDispIdName, InvokeKind::kPropertyGet, {}, true);
  return value.kind() == ValueKind::kString ? value.text() : std::string();
}

void HostObject::SetName(const std::string& name) {
  std::vector<AutomationValue> arguments;
  arguments.push_back(AutomationValue::String(name));
  Call(kDispIdName, InvokeKind::kPropertyPut, std::move(arguments), false);
}

HostObject HostObject::ActiveCell() {
  return ObjectResult(
      Call(kDispIdActiveCell, InvokeKind::kPropertyGet, {}, true));
}

HostObject HostObject::ActiveWindow() {
  return ObjectResult(
      Call(kDispIdActiveWindow, InvokeKind::kPropertyGet, {}, true));
}

int32_t HostObject::Row() {
  return IntegerResult(Call(kDispIdRow, InvokeKind::kPropertyGet, {}, true));
}

int32_t HostObject::Column() {
  return IntegerResult(Call(kDispIdColumn, InvokeKind::kPropertyGet, {}, true));
}

int32_t HostObject::Count() {
  return IntegerResult(Call(kDispIdCount, InvokeKind::kPropertyGet, {}, true));
}

HostObject HostObject::AddWorksheet() {
  return ObjectResult(Call(kDispIdAdd, InvokeKind::kMethod, {}, true));
}

HostObject HostObject::Range(const std::string& address) {
  std::vector<AutomationValue> arguments;
  arguments.push_back(AutomationValue::String(address));
  return ObjectResult(
      Call(kDispIdRange, InvokeKind::kPropertyGet, std::move(arguments), true));
}

void HostObject::SetValue(AutomationValue value) {
  std::vector<AutomationValue> arguments;
  arguments.push_back(std::move(value));
  Call(kDispIdValue, InvokeKind::kPropertyPut, std::move(arguments), false);
}

HostObject HostObject::EntireColumn() {
  return ObjectResult(
      Call(kDispIdEntireColumn, InvokeKind::kPropertyGet, {}, true));
}

void HostObject::AutoFit() {
  // AutoFit answers with a value; it says nothing the add-in needs.
  Call(kDispIdAutoFit, InvokeKind::kMethod, {}, true);
}

void HostObject::SetProperty(const std::string& name, AutomationValue value) {
  if (object_ == nullptr || port_ == nullptr) return;
  DispId member = 0;
  const HResult hr =
      port_->GetIdOfName(object_, name, kLocaleEnglishUs, &member);
  if (Failed(hr)) {
    throw HostCallError(hr, "the host has no member " + name);
  }
  std::vector<AutomationValue> arguments;
  arguments.push_back(std::move(value));
  Call(member, InvokeKind::kPropertyPut, std::move(arguments), false);
}

}  // namespace marrowfield
