// The values that cross the automation port: AutomationValue, a small
// variant of our own (empty, integers, numbers, booleans, strings, objects,
// error codes and two-dimensional arrays indexed from 1), and DispatchRef,
// the one owner of a reference to an automation object. Strings are 8-bit
// ANSI text here; conversion to UTF-16 happens only inside the port's
// Windows adapter.

#ifndef MARROWFIELD_ADDIN_AUTOMATION_VALUE_H_
#define MARROWFIELD_ADDIN_AUTOMATION_VALUE_H_

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

struct IDispatch;

namespace marrowfield {

class AutomationPort;

// One reference to an automation object, released through its port exactly
// once: when the DispatchRef is reset, assigned over or destroyed. Moving
// hands the reference on; there is no copying.
class DispatchRef {
 public:
  DispatchRef() = default;
  // Takes over one reference the caller holds to |object| (which may be
  // null); adds none.
  DispatchRef(AutomationPort& port, IDispatch* object) noexcept
      : port_(&port), object_(object) {}
  ~DispatchRef() { Reset(); }
  DispatchRef(DispatchRef&& other) noexcept;
  DispatchRef& operator=(DispatchRef&& other) noexcept;
  DispatchRef(const DispatchRef&) = delete;
  DispatchRef& operator=(const DispatchRef&) = delete;

  // Releases the reference, if any, and leaves this empty.
  void Reset() noexcept;
  // Hands the reference to the caller, who must release it; leaves this
  // empty.
  IDispatch* Detach() noexcept;

  IDispatch* get() const { return object_; }
  AutomationPort* port() const { return port_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  AutomationPort* port_ = nullptr;
  IDispatch* object_ = nullptr;
};

class AutomationValue;

// A rows x columns block of values, both indexed from 1, stored row by row.
struct AutomationArray {
  int32_t rows = 0;
  int32_t columns = 0;
  std::vector<AutomationValue> cells;

  // REQUIRES: 1 <= row <= rows, 1 <= column <= columns.
  const AutomationValue& At(int32_t row, int32_t column) const;
  AutomationValue& At(int32_t row, int32_t column);
};

enum class ValueKind {
  kEmpty,
  kInt16,
  kInt32,
  kDouble,
  kBoolean,
  kString,
  kObject,
  kError,  // an error code (Excel's #N/A and the like)
  kArray,
  kOther,  // a type the add-in never reads (dates, currency, ...)
};

class AutomationValue {
 public:
  AutomationValue() = default;
  AutomationValue(AutomationValue&&) noexcept = default;
  AutomationValue& operator=(AutomationValue&&) noexcept = default;

  static AutomationValue Int16(int16_t number);
  static AutomationValue Int32(int32_t number);
  static AutomationValue Double(double number);
  static AutomationValue Boolean(bool flag);
  static AutomationValue String(std::string text);
  // Takes over |object|'s reference.
  static AutomationValue Object(DispatchRef object);
  static AutomationValue Error(int32_t code);
  static AutomationValue Array(AutomationArray array);
  // |typeCode| is the automation type code, kept for diagnostics.
  static AutomationValue Other(uint16_t typeCode);

  ValueKind kind() const;
  bool IsEmpty() const { return kind() == ValueKind::kEmpty; }

  // Each accessor REQUIRES the matching kind().
  int16_t int16() const { return std::get<int16_t>(data_); }
  int32_t int32() const { return std::get<int32_t>(data_); }
  double number() const { return std::get<double>(data_); }
  bool boolean() const { return std::get<bool>(data_); }
  const std::string& text() const { return std::get<std::string>(data_); }
  const DispatchRef& object() const { return std::get<DispatchRef>(data_); }
  int32_t error() const { return std::get<ErrorCode>(data_).code; }
  const AutomationArray& array() const {
    return std::get<AutomationArray>(data_);
  }
  uint16_t otherType() const { return std::get<OtherType>(data_).code; }

  // Moves the object reference out (empty when this is not an object) and
  // leaves this value empty.
  DispatchRef TakeObject();

 private:
  struct ErrorCode {
    int32_t code;
  };
  struct OtherType {
    uint16_t code;
  };
  std::variant<std::monostate, int16_t, int32_t, double, bool, std::string,
               DispatchRef, ErrorCode, AutomationArray, OtherType>
      data_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_AUTOMATION_VALUE_H_
