// Registration and menu requests. Texts are built as CountedStrings in the
// caller's frame, so the values handed to the host point at storage that
// outlives the call.

#include "host_registration.h"

#include <array>
#include <cstring>
#include <vector>

#include "call_host.h"
#include "counted_string.h"
#include "host_functions.h"
#include "host_value.h"
#include "temp_value_pool.h"

namespace marrowfield {
namespace {

char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

void RegisterCommand(const XLOPER& ownPath, const CommandRow& row,
                     XLOPER* answer) {
  XLOPER path = ownPath;
  CountedString procedure(row.procedure);
  CountedString typeText(row.typeText);
  CountedString functionText(row.functionText);
  CountedString argumentText(row.argumentText);
  CountedString macroType(row.macroType);
  CountedString category(row.category);
  HostValue result;
  result.Call(xlfRegister, &path, MakeTempString(procedure.placeholderString()),
              MakeTempString(typeText.placeholderString()),
              MakeTempString(functionText.placeholderString()),
              MakeTempString(argumentText.placeholderString()),
              MakeTempString(macroType.placeholderString()),
              MakeTempString(category.placeholderString()));
  // REGISTER answers with a number; anything carrying host memory stays
  // with |result|, which gives it back.
  if (answer != nullptr && result.filled() &&
      (BaseType(result.value()) == xltypeNum ||
       BaseType(result.value()) == xltypeErr)) {
    *answer = result.value();
  }
}

MenuState FindMenu() {
  CountedString name(kMenuName);
  HostValue bar;
  const int32_t code = bar.Call(
      xlfGetBar, MakeTempInteger(static_cast<int16_t>(kWorksheetMenuBar)),
      MakeTempString(name.placeholderString()), MakeTempInteger(0));
  if (code != xlretSuccess) return MenuState::kUnknown;
  return bar.IsError() ? MenuState::kMissing : MenuState::kPresent;
}

void AddMenu() {
  constexpr std::size_t kCells = kMenuRows * kMenuColumns;
  // Reserved up front: the values point into these strings, which must
  // not move while the block is in use.
  std::vector<CountedString> texts;
  texts.reserve(kCells);
  // Sized by the record's real size, 20 values on every platform.
  std::array<XLOPER, kCells> block{};
  std::size_t cell = 0;
  for (const MenuRow& row : MenuTable) {
    for (const char* text : row) {
      texts.emplace_back(text);
      block[cell++] = texts.back().AsValue();
    }
  }
  XLOPER table{};
  table.val.array.lparray = block.data();
  table.val.array.rows = kMenuRows;
  table.val.array.columns = kMenuColumns;
  table.xltype = xltypeMulti;
  CountedString before("Help");
  CallHost(xlfAddMenu, nullptr, MakeTempNumber(kWorksheetMenuBar), &table,
           MakeTempString(before.placeholderString()));
}

void AddMenuItem(const MenuRow& item, const char* before) {
  std::vector<CountedString> texts;
  texts.reserve(kMenuColumns);
  std::array<XLOPER, kMenuColumns> block{};
  for (std::size_t c = 0; c < kMenuColumns; ++c) {
    texts.emplace_back(item[c]);
    block[c] = texts.back().AsValue();
  }
  XLOPER row{};
  row.val.array.lparray = block.data();
  row.val.array.rows = 1;
  row.val.array.columns = kMenuColumns;
  row.xltype = xltypeMulti;
  CountedString menu(kMenuName);
  CountedString position(before);
  CallHost(xlfAddCommand, nullptr, MakeTempNumber(kWorksheetMenuBar),
           MakeTempString(menu.placeholderString()), &row,
           MakeTempString(position.placeholderString()));
}

void DeleteMenu() {
  CountedString name(kMenuName);
  CallHost(xlfDeleteMenu, nullptr, MakeTempNumber(kWorksheetMenuBar),
           MakeTempString(name.placeholderString()));
}

void RemoveDefinedName(const char* name) {
  CountedString text(name);
  CallHost(xlfSetName, nullptr, MakeTempString(text.placeholderString()));
}

bool NamesProcedure(const XLOPER* requested, const char* procedure) {
  if (requested == nullptr || BaseType(*requested) != xltypeStr ||
      requested->val.str == nullptr || procedure == nullptr) {
    return false;
  }
  const auto length = static_cast<unsigned char>(requested->val.str[0]);
  if (std::strlen(procedure) != length) return false;
  for (std::size_t i = 0; i < length; ++i) {
    if (FoldAscii(requested->val.str[i + 1]) != FoldAscii(procedure[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace marrowfield
