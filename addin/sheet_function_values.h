// Between Excel's value records and the worksheet functions' logic: reading
// the arguments Excel passes (references read once, as values, through
// xlCoerce, and Excel's memory given back with xlFree) and handing results
// to Excel in memory the add-in owns, marked xlbitDLLFree, until Excel
// gives each back through xlAutoFree or xlAutoFree12. Every result has its
// own allocation, so calculation threads never share one.
//
// Each function is defined for XLOPER (Excel4, texts as the host's 8-bit
// bytes) and XLOPER12 (Excel12, UTF-16 texts carried as UTF-8).

#ifndef MARROWFIELD_ADDIN_SHEET_FUNCTION_VALUES_H_
#define MARROWFIELD_ADDIN_SHEET_FUNCTION_VALUES_H_

#include <cstddef>

#include "sheet_function_core.h"
#include "xloper.h"
#include "xloper12.h"

namespace marrowfield {

// Reads a scalar argument. A reference is read as the value of its cell;
// a multi of one cell as that cell; a larger multi is kArray. A null
// pointer reads as missing.
template <typename Value>
SheetArgument ReadSheetArgument(const Value* value);

// Reads a range argument: a reference (read once with xlCoerce to a multi,
// whose memory goes back with xlFree), a multi or a single value. A
// reference the host cannot read gives error #VALUE!; an error value given
// as the range is passed on.
template <typename Value>
SheetRange ReadSheetRange(const Value* value);

// Reads a range argument with its shape, as ReadSheetRange reads it: a
// single value is a grid of one cell; an error value is passed on.
template <typename Value>
SheetGrid ReadSheetGrid(const Value* value);

// A new result of |answer| marked xlbitDLLFree, owned by the add-in until
// GiveBackSheetResult. A text, column or grid too long for the record
// gives #VALUE! instead. Never null.
template <typename Value>
Value* HandOverSheetResult(const SheetAnswer& answer);

// Frees a result of HandOverSheetResult (xlAutoFree, xlAutoFree12). Other
// pointers are left alone.
template <typename Value>
void GiveBackSheetResult(Value* value);

// Results handed over and not given back yet.
template <typename Value>
std::size_t OutstandingSheetResults();

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_SHEET_FUNCTION_VALUES_H_
