// The entries: read the arguments, run the function's logic, hand over
// the answer. The XLL exports these very functions (see its .def), so the
// tests call the same code Excel does.

#include "sheet_function_entries.h"

#include "sheet_function_core.h"
#include "sheet_function_values.h"

namespace marrowfield {
namespace {

// The answer when even a result could not be made (memory ran out). It is
// never written after it is made, so all threads may hand it out, and it
// carries no xlbitDLLFree: Excel frees nothing.
template <typename Value>
Value* LastResortError() {
  static const Value error = [] {
    Value value{};
    value.val.err = xlerrValue;
    value.xltype = xltypeErr;
    return value;
  }();
  return const_cast<Value*>(&error);
}

// Excel12 hands over UTF-16, read as UTF-8; Excel4 the ANSI text, which
// Excel writes in Windows-1252.
template <typename Value>
constexpr TextFolding kFolding = TextFolding::kUtf8;
template <>
constexpr TextFolding kFolding<XLOPER> = TextFolding::kWindows1252;

template <typename Value>
SheetAnswer Answer(SheetFunctionId id, Value* const* args) {
  constexpr TextFolding folding = kFolding<Value>;
  switch (id) {
    case SheetFunctionId::kScore:
      return SheetScore(ReadSheetArgument(args[0]), ReadSheetArgument(args[1]),
                        ReadSheetArgument(args[2]), folding);
    case SheetFunctionId::kPhones:
      return SheetPhones(ReadSheetArgument(args[0]), folding);
    case SheetFunctionId::kCode:
      return SheetCode(ReadSheetArgument(args[0]), folding);
    case SheetFunctionId::kBest:
      return SheetBest(ReadSheetArgument(args[0]), ReadSheetRange(args[1]),
                       ReadSheetArgument(args[2]), ReadSheetArgument(args[3]),
                       folding);
    case SheetFunctionId::kMatches:
      return SheetMatches(ReadSheetArgument(args[0]), ReadSheetRange(args[1]),
                          ReadSheetArgument(args[2]),
                          ReadSheetArgument(args[3]), folding);
    case SheetFunctionId::kBestScore:
      return SheetBestScore(ReadSheetArgument(args[0]),
                            ReadSheetRange(args[1]),
                            ReadSheetArgument(args[2]), folding);
    case SheetFunctionId::kGroup:
      return SheetGroup(ReadSheetGrid(args[0]), ReadSheetArgument(args[1]),
                        ReadSheetArgument(args[2]), folding);
  }
  return SheetAnswer::Error(xlerrValue);
}

}  // namespace

template <typename Value>
Value* RunSheetFunction(SheetFunctionId id, Value* const* args) noexcept {
  try {
    return HandOverSheetResult<Value>(Answer(id, args));
  } catch (...) {
    try {
      return HandOverSheetResult<Value>(SheetAnswer::Error(xlerrValue));
    } catch (...) {
      return LastResortError<Value>();
    }
  }
}

template XLOPER* RunSheetFunction(SheetFunctionId, XLOPER* const*) noexcept;
template XLOPER12* RunSheetFunction(SheetFunctionId, XLOPER12* const*) noexcept;

}  // namespace marrowfield

namespace {

using marrowfield::RunSheetFunction;
using marrowfield::SheetFunctionId;

template <typename Value, typename... Values>
Value* Run(SheetFunctionId id, Values*... values) {
  Value* args[marrowfield::kMaxSheetFunctionArguments] = {values...};
  return RunSheetFunction<Value>(id, args);
}

}  // namespace

extern "C" {

XLOPER12* MARROWFIELD_XLL_ENTRY fMarrowfieldScore12(XLOPER12* text1,
                                                    XLOPER12* text2,
                                                    XLOPER12* scoring) {
  return Run<XLOPER12>(SheetFunctionId::kScore, text1, text2, scoring);
}

XLOPER12* MARROWFIELD_XLL_ENTRY fMarrowfieldPhones12(XLOPER12* text) {
  return Run<XLOPER12>(SheetFunctionId::kPhones, text);
}

XLOPER12* MARROWFIELD_XLL_ENTRY fMarrowfieldCode12(XLOPER12* text) {
  return Run<XLOPER12>(SheetFunctionId::kCode, text);
}

XLOPER12* MARROWFIELD_XLL_ENTRY fMarrowfieldBest12(XLOPER12* text,
                                                   XLOPER12* range,
                                                   XLOPER12* accuracy,
                                                   XLOPER12* scoring) {
  return Run<XLOPER12>(SheetFunctionId::kBest, text, range, accuracy,
                       scoring);
}

XLOPER12* MARROWFIELD_XLL_ENTRY fMarrowfieldMatches12(XLOPER12* text,
                                                      XLOPER12* range,
                                                      XLOPER12* accuracy,
                                                      XLOPER12* scoring) {
  return Run<XLOPER12>(SheetFunctionId::kMatches, text, range, accuracy,
                       scoring);
}

XLOPER12* MARROWFIELD_XLL_ENTRY fMarrowfieldBestScore12(XLOPER12* text,
                                                        XLOPER12* range,
                                                        XLOPER12* scoring) {
  return Run<XLOPER12>(SheetFunctionId::kBestScore, text, range, scoring);
}

XLOPER12* MARROWFIELD_XLL_ENTRY fMarrowfieldGroup12(XLOPER12* range,
                                                    XLOPER12* accuracy,
                                                    XLOPER12* scoring) {
  return Run<XLOPER12>(SheetFunctionId::kGroup, range, accuracy, scoring);
}

XLOPER* MARROWFIELD_XLL_ENTRY fMarrowfieldScore(XLOPER* text1, XLOPER* text2,
                                                XLOPER* scoring) {
  return Run<XLOPER>(SheetFunctionId::kScore, text1, text2, scoring);
}

XLOPER* MARROWFIELD_XLL_ENTRY fMarrowfieldPhones(XLOPER* text) {
  return Run<XLOPER>(SheetFunctionId::kPhones, text);
}

XLOPER* MARROWFIELD_XLL_ENTRY fMarrowfieldCode(XLOPER* text) {
  return Run<XLOPER>(SheetFunctionId::kCode, text);
}

XLOPER* MARROWFIELD_XLL_ENTRY fMarrowfieldBest(XLOPER* text, XLOPER* range,
                                               XLOPER* accuracy,
                                               XLOPER* scoring) {
  return Run<XLOPER>(SheetFunctionId::kBest, text, range, accuracy, scoring);
}

XLOPER* MARROWFIELD_XLL_ENTRY fMarrowfieldMatches(XLOPER* text, XLOPER* range,
                                                  XLOPER* accuracy,
                                                  XLOPER* scoring) {
  return Run<XLOPER>(SheetFunctionId::kMatches, text, range, accuracy,
                     scoring);
}

XLOPER* MARROWFIELD_XLL_ENTRY fMarrowfieldBestScore(XLOPER* text,
                                                    XLOPER* range,
                                                    XLOPER* scoring) {
  return Run<XLOPER>(SheetFunctionId::kBestScore, text, range, scoring);
}

XLOPER* MARROWFIELD_XLL_ENTRY fMarrowfieldGroup(XLOPER* range,
                                                XLOPER* accuracy,
                                                XLOPER* scoring) {
  return Run<XLOPER>(SheetFunctionId::kGroup, range, accuracy, scoring);
}

void MARROWFIELD_XLL_ENTRY xlAutoFree(XLOPER* value) {
  try {
    marrowfield::GiveBackSheetResult(value);
  } catch (...) {
    // Only a failing lock can throw here; the result then stays allocated
    // rather than anything escaping into Excel.
  }
}

void MARROWFIELD_XLL_ENTRY xlAutoFree12(XLOPER12* value) {
  try {
    marrowfield::GiveBackSheetResult(value);
  } catch (...) {
    // Only a failing lock can throw here; the result then stays allocated
    // rather than anything escaping into Excel.
  }
}

}  // extern "C"
