// GROUP's answer as a test reads it: called through the Excel12 entry as
// Excel calls it, its array read cell by cell and given back with
// xlAutoFree12.

#ifndef MARROWFIELD_TESTS_ADDIN_SHEET_GROUP_READER_H_
#define MARROWFIELD_TESTS_ADDIN_SHEET_GROUP_READER_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sheet_function_entries.h"
#include "wide_text.h"

namespace marrowfield {

struct GroupAnswer {
  int rows = 0;
  int columns = 0;
  std::vector<std::string> cells;  // rows outer; "<type N>" for a non-text
  int error = -1;                  // the error shown instead of an array
};

inline GroupAnswer CallGroup(XLOPER12* range, XLOPER12* accuracy,
                             XLOPER12* scoring) {
  GroupAnswer answer;
  XLOPER12* result = fMarrowfieldGroup12(range, accuracy, scoring);
  EXPECT_NE(result->xltype & xlbitDLLFree, 0u);
  if (BaseType(*result) == xltypeErr) {
    answer.error = result->val.err;
  } else if (BaseType(*result) == xltypeMulti) {
    answer.rows = result->val.array.rows;
    answer.columns = result->val.array.columns;
    for (int i = 0; i < answer.rows * answer.columns; ++i) {
      const XLOPER12& cell = result->val.array.lparray[i];
      answer.cells.push_back(
          BaseType(cell) == xltypeStr
              ? Utf8FromUtf16(cell.val.str + 1, cell.val.str[0])
              : "<type " + std::to_string(cell.xltype) + ">");
    }
  } else {
    ADD_FAILURE() << "GROUP answered with type " << result->xltype;
  }
  xlAutoFree12(result);
  return answer;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_ADDIN_SHEET_GROUP_READER_H_
