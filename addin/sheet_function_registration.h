// Registering the worksheet functions with the host: through Excel12, with
// the XLOPER12 type texts and the thread-safe mark, when the host offers
// Excel12; through Excel4 with the XLOPER type texts otherwise. Each
// registration carries the function's category, description and argument
// help for the Insert Function dialog.

#ifndef MARROWFIELD_ADDIN_SHEET_FUNCTION_REGISTRATION_H_
#define MARROWFIELD_ADDIN_SHEET_FUNCTION_REGISTRATION_H_

#include "sheet_function_table.h"
#include "xloper.h"

namespace marrowfield {

// Registers |row| as a worksheet function of the add-in. Returns REGISTER's
// answer as an XLOPER without host memory: the register id (a number), or
// an error value when the host refused or failed.
XLOPER RegisterSheetFunction(const SheetFunctionRow& row);

// Unregisters the function with register id |registerId| (when it is a
// number) and removes the defined name REGISTER made for |row|.
void UnregisterSheetFunction(const SheetFunctionRow& row,
                             const XLOPER& registerId);

// The row whose Excel4 or Excel12 procedure name is the counted string
// |requested| (ASCII case ignored); null when none is.
const SheetFunctionRow* FindSheetFunction(const XLOPER* requested);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_SHEET_FUNCTION_REGISTRATION_H_
