// The rig's values and their descriptions, shared by the native tests and
// the tests of the real XLL under Wine.

#include "sheet_function_rig.h"

#include <sstream>

#include "fake_xlcall32.h"
#include "wide_text.h"

namespace marrowfield {
namespace {

template <typename Value>
std::string Describe(const Value* value, bool wide) {
  if (value == nullptr) return "null";
  std::ostringstream out;
  switch (BaseType(*value)) {
    case xltypeNum:
      out << "num:" << value->val.num;
      break;
    case xltypeErr:
      out << "err:" << value->val.err;
      break;
    case xltypeStr:
      if (wide) {
        const auto* text = reinterpret_cast<const char16_t*>(value->val.str);
        out << "str:" << Utf8FromUtf16(text + 1, text[0]);
      } else {
        const auto* text = reinterpret_cast<const char*>(value->val.str);
        out << "str:"
            << std::string(text + 1, static_cast<unsigned char>(text[0]));
      }
      break;
    case xltypeMulti: {
      const auto rows = static_cast<int>(value->val.array.rows);
      const auto columns = static_cast<int>(value->val.array.columns);
      out << "multi:" << rows << "x" << columns << "[";
      for (int i = 0; i < rows * columns; ++i) {
        out << (i > 0 ? "|" : "")
            << Describe(&value->val.array.lparray[i], wide);
      }
      out << "]";
      break;
    }
    default:
      out << "type:" << value->xltype;
  }
  return out.str();
}

}  // namespace

XLOPER12* WideArguments::Keep(XLOPER12 value) {
  values_.push_back(value);
  return &values_.back();
}

XLOPER12* WideArguments::Text(const std::u16string& text) {
  texts_.push_back(std::u16string(1, static_cast<char16_t>(text.size())) +
                   text);
  XLOPER12 value{};
  value.val.str = texts_.back().data();
  value.xltype = xltypeStr;
  return Keep(value);
}

XLOPER12* WideArguments::Utf8Text(const std::string& text) {
  return Text(Utf16FromUtf8(text));
}

XLOPER12* WideArguments::Number(double number) {
  XLOPER12 value{};
  value.val.num = number;
  value.xltype = xltypeNum;
  return Keep(value);
}

XLOPER12* WideArguments::Boolean(bool flag) {
  XLOPER12 value{};
  value.val.xbool = flag;
  value.xltype = xltypeBool;
  return Keep(value);
}

XLOPER12* WideArguments::Error(int32_t error) {
  XLOPER12 value{};
  value.val.err = error;
  value.xltype = xltypeErr;
  return Keep(value);
}

XLOPER12* WideArguments::Missing() {
  XLOPER12 value{};
  value.xltype = xltypeMissing;
  return Keep(value);
}

XLOPER12* WideArguments::Nil() {
  XLOPER12 value{};
  value.xltype = xltypeNil;
  return Keep(value);
}

XLOPER12* WideArguments::Area(int32_t rowFirst, int32_t rowLast,
                              int32_t colFirst, int32_t colLast) {
  XLOPER12 value{};
  value.val.sref.count = 1;
  value.val.sref.ref = XLREF12{rowFirst, rowLast, colFirst, colLast};
  value.xltype = xltypeSRef;
  return Keep(value);
}

XLOPER12* WideArguments::SheetArea(uintptr_t sheet, int32_t rowFirst,
                                   int32_t rowLast, int32_t colFirst,
                                   int32_t colLast) {
  references_.push_back(
      XLMREF12{1, {XLREF12{rowFirst, rowLast, colFirst, colLast}}});
  XLOPER12 value{};
  value.val.mref.lpmref = &references_.back();
  value.val.mref.idSheet = sheet;
  value.xltype = xltypeRef;
  return Keep(value);
}

XLOPER12* WideArguments::Row(const std::vector<std::string>& texts) {
  std::vector<XLOPER12> cells;
  for (const std::string& text : texts) cells.push_back(*Utf8Text(text));
  arrays_.push_back(std::move(cells));
  XLOPER12 value{};
  value.val.array.lparray = arrays_.back().data();
  value.val.array.rows = 1;
  value.val.array.columns = static_cast<int32_t>(texts.size());
  value.xltype = xltypeMulti;
  return Keep(value);
}

XLOPER* NarrowArguments::Text(const std::string& text) {
  texts_.push_back(std::string(1, static_cast<char>(text.size())) + text);
  XLOPER value{};
  value.val.str = texts_.back().data();
  value.xltype = xltypeStr;
  values_.push_back(value);
  return &values_.back();
}

XLOPER* NarrowArguments::Number(double number) {
  XLOPER value{};
  value.val.num = number;
  value.xltype = xltypeNum;
  values_.push_back(value);
  return &values_.back();
}

XLOPER* NarrowArguments::Area(uint16_t rowFirst, uint16_t rowLast,
                              uint8_t colFirst, uint8_t colLast) {
  XLOPER value{};
  value.val.sref.count = 1;
  value.val.sref.ref = XLREF{rowFirst, rowLast, colFirst, colLast};
  value.xltype = xltypeSRef;
  values_.push_back(value);
  return &values_.back();
}

std::string DescribeResult(const XLOPER12* value) {
  return Describe(value, true);
}

std::string DescribeResult(const XLOPER* value) {
  return Describe(value, false);
}

void FillColumn(int column, const std::vector<std::string>& texts) {
  for (std::size_t row = 0; row < texts.size(); ++row) {
    fake_xl_set_cell_text(1, static_cast<int>(row), column, texts[row].c_str());
  }
}

}  // namespace marrowfield
