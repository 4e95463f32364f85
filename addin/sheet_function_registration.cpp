// REGISTER's arguments for a worksheet function: module, procedure, type
// text, function text, argument text, macro type 1, category, shortcut,
// help topic, description, then one help text per argument. Strings are
// kept in the caller's frame for the length of the host call.

#include "sheet_function_registration.h"

#include <string>
#include <vector>

#include "call_host.h"
#include "call_host12.h"
#include "counted_string.h"
#include "host_functions.h"
#include "host_registration.h"
#include "host_value.h"

namespace marrowfield {
namespace {

constexpr int32_t xlfUnregister = 201;

// REGISTER's texts for |row|, in argument order after the module and
// before the macro type, and after it.
std::vector<std::string> TextsBeforeMacroType(const SheetFunctionRow& row,
                                              bool wide) {
  return {wide ? row.procedure12 : row.procedure,
          wide ? row.typeText12 : row.typeText, row.functionText,
          row.argumentText};
}

std::vector<std::string> TextsAfterMacroType(const SheetFunctionRow& row) {
  std::vector<std::string> texts = {kSheetFunctionCategory, "", "",
                                    row.description};
  for (int i = 0; i < row.argumentCount; ++i) {
    texts.emplace_back(row.argumentHelp[static_cast<std::size_t>(i)]);
  }
  return texts;
}

XLOPER ErrorValue() {
  XLOPER value{};
  value.val.err = xlerrValue;
  value.xltype = xltypeErr;
  return value;
}

template <typename Value>
XLOPER AnswerOf(const Value& result) {
  XLOPER answer = ErrorValue();
  if (BaseType(result) == xltypeNum) {
    answer.val.num = result.val.num;
    answer.xltype = xltypeNum;
  } else if (BaseType(result) == xltypeErr) {
    answer.val.err = static_cast<uint16_t>(result.val.err);
  }
  return answer;
}

XLOPER RegisterWide(const SheetFunctionRow& row) {
  HostValue12 path;
  if (path.Call(xlGetName) != xlretSuccess) return ErrorValue();
  std::vector<std::u16string> storage;
  for (const auto& texts :
       {TextsBeforeMacroType(row, true), TextsAfterMacroType(row)}) {
    for (const std::string& text : texts) {
      // The table's texts are ASCII.
      std::u16string wide(1, static_cast<char16_t>(text.size()));
      wide.append(text.begin(), text.end());
      storage.push_back(std::move(wide));
    }
  }
  std::vector<XLOPER12> values(storage.size() + 1);
  for (std::size_t i = 0; i < storage.size(); ++i) {
    values[i].val.str = storage[i].data();
    values[i].xltype = xltypeStr;
  }
  XLOPER12& macroType = values.back();
  macroType.val.num = kWorksheetFunctionMacroType;
  macroType.xltype = xltypeNum;
  XLOPER12 module = path.value();
  std::vector<XLOPER12*> args = {&module};
  for (std::size_t i = 0; i < 4; ++i) args.push_back(&values[i]);
  args.push_back(&macroType);
  for (std::size_t i = 4; i < storage.size(); ++i) args.push_back(&values[i]);
  // REGISTER answers with a number or an error value: no host memory.
  XLOPER12 answer{};
  const int32_t code = CallHost12Array(
      xlfRegister, &answer, static_cast<int32_t>(args.size()), args.data());
  if (code != xlretSuccess) return ErrorValue();
  return AnswerOf(answer);
}

XLOPER RegisterNarrow(const SheetFunctionRow& row) {
  HostValue path;
  if (path.Call(xlGetName) != xlretSuccess) return ErrorValue();
  std::vector<CountedString> storage;
  for (const auto& texts :
       {TextsBeforeMacroType(row, false), TextsAfterMacroType(row)}) {
    for (const std::string& text : texts) storage.emplace_back(text);
  }
  std::vector<XLOPER> values(storage.size() + 1);
  for (std::size_t i = 0; i < storage.size(); ++i) {
    values[i] = storage[i].AsValue();
  }
  XLOPER& macroType = values.back();
  macroType = XLOPER{};
  macroType.val.num = kWorksheetFunctionMacroType;
  macroType.xltype = xltypeNum;
  XLOPER module = path.value();
  std::vector<XLOPER*> args = {&module};
  for (std::size_t i = 0; i < 4; ++i) args.push_back(&values[i]);
  args.push_back(&macroType);
  for (std::size_t i = 4; i < storage.size(); ++i) args.push_back(&values[i]);
  XLOPER answer{};
  if (CallHostArray(xlfRegister, &answer, static_cast<int32_t>(args.size()),
                    args.data()) != xlretSuccess) {
    return ErrorValue();
  }
  return AnswerOf(answer);
}

}  // namespace

XLOPER RegisterSheetFunction(const SheetFunctionRow& row) {
  return HostOffersExcel12() ? RegisterWide(row) : RegisterNarrow(row);
}

void UnregisterSheetFunction(const SheetFunctionRow& row,
                             const XLOPER& registerId) {
  if (BaseType(registerId) == xltypeNum) {
    XLOPER id = registerId;
    CallHost(xlfUnregister, nullptr, &id);
  }
  RemoveDefinedName(row.functionText);
}

const SheetFunctionRow* FindSheetFunction(const XLOPER* requested) {
  for (const SheetFunctionRow& row : SheetFunctionTable) {
    if (NamesProcedure(requested, row.procedure) ||
        NamesProcedure(requested, row.procedure12)) {
      return &row;
    }
  }
  return nullptr;
}

}  // namespace marrowfield
