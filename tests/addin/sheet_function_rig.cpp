// The rig's values and calls. Entries are found by the names the add-in
// gave REGISTER; a name that is no entry fails the test.

#include "sheet_function_rig.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "fake_xlcall32.h"
#include "sheet_function_entries.h"
#include "wide_text.h"

namespace marrowfield {
namespace {

using Wide1 = XLOPER12* (*)(XLOPER12*);
using Wide2 = XLOPER12* (*)(XLOPER12*, XLOPER12*);
using Wide3 = XLOPER12* (*)(XLOPER12*, XLOPER12*, XLOPER12*);
using Narrow1 = XLOPER* (*)(XLOPER*);
using Narrow2 = XLOPER* (*)(XLOPER*, XLOPER*);
using Narrow3 = XLOPER* (*)(XLOPER*, XLOPER*, XLOPER*);

struct Entries {
  std::map<std::string, Wide1> wide1 = {
      {"fMarrowfieldPhones12", fMarrowfieldPhones12},
      {"fMarrowfieldCode12", fMarrowfieldCode12}};
  std::map<std::string, Wide2> wide2 = {
      {"fMarrowfieldScore12", fMarrowfieldScore12},
      {"fMarrowfieldBestScore12", fMarrowfieldBestScore12}};
  std::map<std::string, Wide3> wide3 = {
      {"fMarrowfieldBest12", fMarrowfieldBest12},
      {"fMarrowfieldMatches12", fMarrowfieldMatches12}};
  std::map<std::string, Narrow1> narrow1 = {
      {"fMarrowfieldPhones", fMarrowfieldPhones},
      {"fMarrowfieldCode", fMarrowfieldCode}};
  std::map<std::string, Narrow2> narrow2 = {
      {"fMarrowfieldScore", fMarrowfieldScore},
      {"fMarrowfieldBestScore", fMarrowfieldBestScore}};
  std::map<std::string, Narrow3> narrow3 = {
      {"fMarrowfieldBest", fMarrowfieldBest},
      {"fMarrowfieldMatches", fMarrowfieldMatches}};
};

const Entries& TheEntries() {
  static const Entries entries;
  return entries;
}

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

std::string CallWide(const std::string& procedure,
                     const std::vector<XLOPER12*>& args) {
  const Entries& entries = TheEntries();
  XLOPER12* result = nullptr;
  if (args.size() == 1 && entries.wide1.count(procedure)) {
    result = entries.wide1.at(procedure)(args[0]);
  } else if (args.size() == 2 && entries.wide2.count(procedure)) {
    result = entries.wide2.at(procedure)(args[0], args[1]);
  } else if (args.size() == 3 && entries.wide3.count(procedure)) {
    result = entries.wide3.at(procedure)(args[0], args[1], args[2]);
  } else {
    ADD_FAILURE() << "no Excel12 entry " << procedure << " taking "
                  << args.size() << " arguments";
    return "none";
  }
  EXPECT_NE(result->xltype & xlbitDLLFree, 0u) << procedure;
  const std::string described = DescribeResult(result);
  xlAutoFree12(result);
  return described;
}

std::string CallNarrow(const std::string& procedure,
                       const std::vector<XLOPER*>& args) {
  const Entries& entries = TheEntries();
  XLOPER* result = nullptr;
  if (args.size() == 1 && entries.narrow1.count(procedure)) {
    result = entries.narrow1.at(procedure)(args[0]);
  } else if (args.size() == 2 && entries.narrow2.count(procedure)) {
    result = entries.narrow2.at(procedure)(args[0], args[1]);
  } else if (args.size() == 3 && entries.narrow3.count(procedure)) {
    result = entries.narrow3.at(procedure)(args[0], args[1], args[2]);
  } else {
    ADD_FAILURE() << "no Excel4 entry " << procedure << " taking "
                  << args.size() << " arguments";
    return "none";
  }
  EXPECT_NE(result->xltype & xlbitDLLFree, 0) << procedure;
  const std::string described = DescribeResult(result);
  xlAutoFree(result);
  return described;
}

void FillColumn(int column, const std::vector<std::string>& texts) {
  for (std::size_t row = 0; row < texts.size(); ++row) {
    fake_xl_set_cell_text(1, static_cast<int>(row), column, texts[row].c_str());
  }
}

}  // namespace marrowfield
