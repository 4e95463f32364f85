// The worksheet functions as Excel calls them: one C entry per function
// and interface, named as in SheetFunctionTable and exported by the XLL,
// and xlAutoFree/xlAutoFree12, through which Excel gives back the results.
// Every entry answers with a new result marked xlbitDLLFree (never a
// shared buffer) and lets no exception out: a failure shows as #VALUE!.

#ifndef MARROWFIELD_ADDIN_SHEET_FUNCTION_ENTRIES_H_
#define MARROWFIELD_ADDIN_SHEET_FUNCTION_ENTRIES_H_

#include "host_callback_library.h"
#include "sheet_function_table.h"
#include "xloper.h"
#include "xloper12.h"

namespace marrowfield {

// Runs function |id| on |args| (as many as its row in SheetFunctionTable
// names, null for any Excel left out).
template <typename Value>
Value* RunSheetFunction(SheetFunctionId id, Value* const* args) noexcept;

}  // namespace marrowfield

// Excel calls XLL functions with the Windows API convention.
#define MARROWFIELD_XLL_ENTRY MARROWFIELD_XLCALL_STDCALL

extern "C" {

using marrowfield::XLOPER;
using marrowfield::XLOPER12;

XLOPER12* MARROWFIELD_XLL_ENTRY fMarrowfieldScore12(XLOPER12* text1,
                                                    XLOPER12* text2,
                                                    XLOPER12* scoring);
XLOPER12* MARROWFIELD_XLL_ENTRY fMarrowfieldPhones12(XLOPER12* text);
XLOPER12* MARROWFIELD_XLL_ENTRY fMarrowfieldCode12(XLOPER12* text);
XLOPER12* MARROWFIELD_XLL_ENTRY fMarrowfieldBest12(XLOPER12* text,
                                                   XLOPER12* range,
                                                   XLOPER12* accuracy,
                                                   XLOPER12* scoring);
XLOPER12* MARROWFIELD_XLL_ENTRY fMarrowfieldMatches12(XLOPER12* text,
                                                      XLOPER12* range,
                                                      XLOPER12* accuracy,
                                                      XLOPER12* scoring);
XLOPER12* MARROWFIELD_XLL_ENTRY fMarrowfieldBestScore12(XLOPER12* text,
                                                        XLOPER12* range,
                                                        XLOPER12* scoring);
XLOPER12* MARROWFIELD_XLL_ENTRY fMarrowfieldGroup12(XLOPER12* range,
                                                    XLOPER12* accuracy,
                                                    XLOPER12* scoring);

XLOPER* MARROWFIELD_XLL_ENTRY fMarrowfieldScore(XLOPER* text1, XLOPER* text2,
                                                XLOPER* scoring);
XLOPER* MARROWFIELD_XLL_ENTRY fMarrowfieldPhones(XLOPER* text);
XLOPER* MARROWFIELD_XLL_ENTRY fMarrowfieldCode(XLOPER* text);
XLOPER* MARROWFIELD_XLL_ENTRY fMarrowfieldBest(XLOPER* text, XLOPER* range,
                                               XLOPER* accuracy,
                                               XLOPER* scoring);
XLOPER* MARROWFIELD_XLL_ENTRY fMarrowfieldMatches(XLOPER* text, XLOPER* range,
                                                  XLOPER* accuracy,
                                                  XLOPER* scoring);
XLOPER* MARROWFIELD_XLL_ENTRY fMarrowfieldBestScore(XLOPER* text, XLOPER* range,
                                                    XLOPER* scoring);
XLOPER* MARROWFIELD_XLL_ENTRY fMarrowfieldGroup(XLOPER* range, XLOPER* accuracy,
                                                XLOPER* scoring);

// Frees a result marked xlbitDLLFree; anything else is left alone.
void MARROWFIELD_XLL_ENTRY xlAutoFree(XLOPER* value);
void MARROWFIELD_XLL_ENTRY xlAutoFree12(XLOPER12* value);

}  // extern "C"

#endif  // MARROWFIELD_ADDIN_SHEET_FUNCTION_ENTRIES_H_
