// What the worksheet-function tests need to act as Excel: argument values
// of both record kinds that own their memory, a way to read a result as
// short text ("num:100", "str:Smith", "err:42", "multi:2x1[str:a|str:b]"),
// and the exported entries by the procedure names the add-in registered,
// so that a test calls exactly what Excel would.

#ifndef MARROWFIELD_TESTS_ADDIN_SHEET_FUNCTION_RIG_H_
#define MARROWFIELD_TESTS_ADDIN_SHEET_FUNCTION_RIG_H_

#include <deque>
#include <string>
#include <vector>

#include "xloper.h"
#include "xloper12.h"

namespace marrowfield {

// Builds XLOPER12 arguments; every value stays valid while the builder
// lives.
class WideArguments {
 public:
  XLOPER12* Text(const std::u16string& text);
  XLOPER12* Utf8Text(const std::string& text);
  XLOPER12* Number(double number);
  XLOPER12* Boolean(bool flag);
  XLOPER12* Error(int32_t error);
  XLOPER12* Missing();
  XLOPER12* Nil();
  // A reference to sheet 1 (xltypeSRef), 0-based and inclusive.
  XLOPER12* Area(int32_t rowFirst, int32_t rowLast, int32_t colFirst,
                 int32_t colLast);
  // A reference with a sheet id (xltypeRef).
  XLOPER12* SheetArea(uintptr_t sheet, int32_t rowFirst, int32_t rowLast,
                      int32_t colFirst, int32_t colLast);
  // An array of the given UTF-8 texts, one row.
  XLOPER12* Row(const std::vector<std::string>& texts);

 private:
  XLOPER12* Keep(XLOPER12 value);
  std::deque<XLOPER12> values_;
  std::deque<std::u16string> texts_;
  std::deque<std::vector<XLOPER12>> arrays_;
  std::deque<XLMREF12> references_;
};

// The same for XLOPER (Excel4), texts as bytes.
class NarrowArguments {
 public:
  XLOPER* Text(const std::string& text);
  XLOPER* Number(double number);
  XLOPER* Area(uint16_t rowFirst, uint16_t rowLast, uint8_t colFirst,
               uint8_t colLast);

 private:
  std::deque<XLOPER> values_;
  std::deque<std::string> texts_;
};

std::string DescribeResult(const XLOPER12* value);
std::string DescribeResult(const XLOPER* value);

// Calls the Excel12 entry registered as |procedure| with |args| (as many
// as the function takes), checks that the result is marked xlbitDLLFree,
// describes it and gives it back with xlAutoFree12, as Excel does.
std::string CallWide(const std::string& procedure,
                     const std::vector<XLOPER12*>& args);
// The same through the Excel4 entry and xlAutoFree.
std::string CallNarrow(const std::string& procedure,
                       const std::vector<XLOPER*>& args);

// Fills column |column| of sheet 1 of the fake host from row 0 down.
void FillColumn(int column, const std::vector<std::string>& texts);

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_ADDIN_SHEET_FUNCTION_RIG_H_
