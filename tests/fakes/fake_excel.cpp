// The fake host's answers. Where Excel answers with a value, the fake does
// the same: xlGetName gives the add-in's path, GET.BAR an error value until
// the menu exists and the menu's name once it does, REGISTER a number,
// xlCoerce the converted value. Functions it does not model are refused
// with xlretInvXlfn, as Excel refuses unknown numbers.

#include "fake_excel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "fake_host_documents.h"
#include "host_functions.h"
#include "value_description.h"

namespace marrowfield {
namespace {

std::string Text(const XLOPER& value) {
  if (BaseType(value) != xltypeStr || value.val.str == nullptr) return {};
  return std::string(value.val.str + 1,
                     static_cast<unsigned char>(value.val.str[0]));
}

// Menu names match with or without their ampersand, in any case.
std::string MenuKey(const std::string& name) {
  std::string key;
  for (char c : name) {
    if (c == '&') continue;
    key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return key;
}

bool ToNumber(const XLOPER& value, double* number) {
  switch (BaseType(value)) {
    case xltypeNum:
      *number = value.val.num;
      return true;
    case xltypeInt:
      *number = value.val.w;
      return true;
    case xltypeBool:
      *number = value.val.xbool ? 1 : 0;
      return true;
    case xltypeStr: {
      const std::string text = Text(value);
      char* end = nullptr;
      *number = std::strtod(text.c_str(), &end);
      return !text.empty() && end != nullptr && *end == '\0';
    }
    default:
      return false;
  }
}

void SetError(XLOPER* result, uint16_t code) {
  if (result == nullptr) return;
  *result = XLOPER{};
  result->val.err = code;
  result->xltype = xltypeErr;
}

void SetNumber(XLOPER* result, double number) {
  if (result == nullptr) return;
  *result = XLOPER{};
  result->val.num = number;
  result->xltype = xltypeNum;
}

void SetBool(XLOPER* result, bool flag) {
  if (result == nullptr) return;
  *result = XLOPER{};
  result->val.xbool = flag ? 1 : 0;
  result->xltype = xltypeBool;
}

// The worksheet menu bar as Excel shows it before any add-in adds a menu.
constexpr const char* kBuiltInMenus[] = {"&File",   "&Edit",   "&View",
                                         "&Insert", "F&ormat", "&Tools",
                                         "&Data",   "&Window", "&Help"};
constexpr double kWorksheetBar = 10;
constexpr int32_t kUnregister = 201;  // xlfUnregister

// REGISTER's type text: one letter for the result, one per argument, from
// the codes Excel's C API documents; each of C, D, F, G, K and O may carry
// a '%' (its wide form). Then the modifiers, each at most once: '#' (may
// call macro-sheet functions), '!' (volatile), '$' (thread-safe), '&'
// (cluster safe). The wide codes (Q, U and the '%' forms) and the '$' and
// '&' marks exist only for registrations made through Excel12; a
// thread-safe function takes no XLOPER (P, R) and is no macro-sheet
// equivalent. A command takes no arguments and may carry no modifier.
bool ValidTypeText(const std::string& text, bool command, bool wide) {
  static const std::string kCodes = "ABCDEFGHIJKLMNOPQRU";
  static const std::string kWideCodes = "QU";
  static const std::string kWide = "CDFGKO";
  std::size_t i = 0;
  int codes = 0;
  bool narrowRecords = false;
  while (i < text.size() && kCodes.find(text[i]) != std::string::npos) {
    const char code = text[i++];
    if (!wide && kWideCodes.find(code) != std::string::npos) return false;
    if (code == 'P' || code == 'R') narrowRecords = true;
    if (i < text.size() && text[i] == '%') {
      if (!wide || kWide.find(code) == std::string::npos) return false;
      ++i;
    }
    ++codes;
  }
  if (codes == 0 || codes > 256) return false;
  if (command && (codes != 1 || i != text.size())) return false;
  std::string modifiers = text.substr(i);
  bool threadSafe = false;
  bool macroSheet = false;
  for (const char* allowed : {"#", "!", "$", "&"}) {
    const std::size_t at = modifiers.find(allowed);
    if (at == std::string::npos) continue;
    modifiers.erase(at, 1);
    if (*allowed == '$') threadSafe = true;
    if (*allowed == '#') macroSheet = true;
    if ((*allowed == '$' || *allowed == '&') && !wide) return false;
  }
  if (threadSafe && (narrowRecords || macroSheet)) return false;
  return modifiers.empty();
}

// REGISTER's macro type: 0 (hidden function), 1 (function) or 2 (command).
bool ValidMacroType(double number) {
  return number == 0 || number == 1 || number == 2;
}

}  // namespace

void FakeExcel::Reset() {
  calls_.clear();
  menus_.clear();
  for (const char* menu : kBuiltInMenus) {
    menus_.push_back(Menu{kWorksheetBar, menu, true, {}});
  }
  refused_ = 0;
  registerIds_.clear();
  handedOut_.clear();
  registrations_.clear();
  calls12_.clear();
  cells_.clear();
  closedSheets_.clear();
  excel12_ = true;
  coercions_ = 0;
  addinPath_ = "C:\\Program Files\\Marrowfield\\MarrowfieldExcel.xll";
  forcedCode_ = 0;
  mainWindow_ = 0;
  badFrees_ = 0;
  TheFakeHostDocuments().Reset();
}

int32_t FakeExcel::Answer(int32_t function, XLOPER* result, int32_t count,
                          XLOPER* const* args) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Call call{function, {}};
  for (int32_t i = 0; i < count; ++i) {
    call.args.push_back(DescribeValue(args == nullptr ? nullptr : args[i]));
  }
  calls_.push_back(std::move(call));
  if (forcedCode_ != 0) return forcedCode_;
  for (int32_t i = 0; i < count; ++i) {
    if (args == nullptr || args[i] == nullptr) return xlretInvXloper;
  }
  switch (function) {
    case xlFree:
      return Free(count, args);
    case xlCoerce:
      return Coerce(result, count, args);
    case xlGetName:
      if (result != nullptr) *result = HandOutString(addinPath_);
      return xlretSuccess;
    case xlGetHwnd:
      // The XLOPER's integer is 16 bits: the handle's low word only.
      if (result != nullptr) {
        *result = XLOPER{};
        result->val.w = static_cast<int16_t>(mainWindow_ & 0xFFFF);
        result->xltype = xltypeInt;
      }
      return xlretSuccess;
    case xlfRegister:
      return Register(result, count, args);
    case xlfGetBar:
      return GetBar(result, count, args);
    case xlfAddMenu:
      return AddMenu(result, count, args);
    case xlfDeleteMenu:
      return DeleteMenu(result, count, args);
    case xlfAddCommand:
      return AddCommand(result, count, args);
    case xlfSetName:
      return SetName(result, count, args);
    case kUnregister:
      return Unregister(result, count, args);
    default: {
      bool handled = false;
      const int32_t code = TheFakeHostDocuments().Answer(function, result,
                                                         count, args, &handled);
      return handled ? code : xlretInvXlfn;
    }
  }
}

int32_t FakeExcel::Free(int32_t count, XLOPER* const* args) {
  for (int32_t i = 0; i < count; ++i) GiveBack(*args[i]);
  return xlretSuccess;
}

int32_t FakeExcel::Coerce(XLOPER* result, int32_t count, XLOPER* const* args) {
  if (count < 1) return xlretInvCount;
  double wanted = xltypeNum | xltypeStr | xltypeBool | xltypeErr;
  if (count >= 2 && !ToNumber(*args[1], &wanted)) return xlretInvXloper;
  const auto types = static_cast<uint16_t>(wanted);
  double number = 0;
  const uint16_t source = BaseType(*args[0]);
  if (source == xltypeSRef || source == xltypeRef) {
    XLREF12 area{};
    const XLREF* ref = source == xltypeSRef ? &args[0]->val.sref.ref
                       : args[0]->val.mref.lpmref == nullptr
                           ? nullptr
                           : args[0]->val.mref.lpmref->reftbl;
    if (ref == nullptr) return xlretInvXloper;
    area = XLREF12{ref->rwFirst, ref->rwLast, ref->colFirst, ref->colLast};
    std::vector<const Cell*> cells;
    int32_t rows = 0;
    int32_t columns = 0;
    if (!ReferencedCells(source,
                         source == xltypeRef ? args[0]->val.mref.idSheet : 1,
                         area, &cells, &rows, &columns)) {
      return xlretUncalced;
    }
    if (result != nullptr) *result = HandOutMulti(cells, rows, columns);
    return xlretSuccess;
  }
  if (BaseType(*args[0]) == xltypeErr) {
    SetError(result, args[0]->val.err);
  } else if (!ToNumber(*args[0], &number)) {
    SetError(result, xlerrValue);
  } else if (types & xltypeInt) {
    const double rounded = std::nearbyint(number);
    if (rounded < -32768 || rounded > 32767) {
      SetError(result, xlerrValue);
    } else if (result != nullptr) {
      *result = XLOPER{};
      result->val.w = static_cast<int16_t>(rounded);
      result->xltype = xltypeInt;
    }
  } else if (types & xltypeNum) {
    SetNumber(result, number);
  } else {
    SetError(result, xlerrValue);
  }
  return xlretSuccess;
}

int32_t FakeExcel::Register(XLOPER* result, int32_t count,
                            XLOPER* const* args) {
  // Everything given must be text, except the macro type.
  bool texts = count >= 2 && count <= 255;
  std::vector<std::string> arguments;
  double macroType = -1;
  for (int32_t i = 0; texts && i < count; ++i) {
    const uint16_t type = BaseType(*args[i]);
    if (i == 5) {
      if (type != xltypeMissing && type != xltypeBool &&
          !ToNumber(*args[i], &macroType)) {
        texts = false;
      }
      if (type == xltypeBool) texts = false;
      arguments.emplace_back();
      continue;
    }
    if (type == xltypeMissing && i >= 2) {
      arguments.emplace_back();
      continue;
    }
    if (type != xltypeStr) texts = false;
    arguments.push_back(Text(*args[i]));
  }
  const double id =
      texts ? AcceptRegistration(std::move(arguments), macroType, false) : -1;
  if (id < 0) {
    if (texts == false) ++refused_;
    SetError(result, xlerrValue);
    return xlretSuccess;
  }
  SetNumber(result, id);
  return xlretSuccess;
}

double FakeExcel::AcceptRegistration(std::vector<std::string> texts,
                                     double macroType, bool wide) {
  if (!ValidRegistrationTexts(texts, macroType, wide)) {
    ++refused_;
    return -1;
  }
  // Excel gives a procedure the same register id each time.
  const std::string& procedure = texts[1];
  auto found = registerIds_.find(procedure);
  if (found == registerIds_.end()) {
    found = registerIds_.emplace(procedure, 1000.0 + registerIds_.size()).first;
  }
  registrations_.push_back(
      Registration{std::move(texts), wide, true, found->second});
  return found->second;
}

int32_t FakeExcel::Unregister(XLOPER* result, int32_t count,
                              XLOPER* const* args) {
  double id = 0;
  if (count < 1 || !ToNumber(*args[0], &id)) return xlretInvXloper;
  bool found = false;
  for (Registration& registration : registrations_) {
    if (registration.id == id && registration.registered) {
      registration.registered = false;
      found = true;
    }
  }
  SetBool(result, found);
  return xlretSuccess;
}

int32_t FakeExcel::GetBar(XLOPER* result, int32_t count, XLOPER* const* args) {
  double bar = 0;
  if (count < 2 || !ToNumber(*args[0], &bar)) return xlretInvCount;
  const auto menu = FindMenu(bar, Text(*args[1]));
  if (menu == menus_.end()) {
    SetError(result, xlerrNA);
  } else if (result != nullptr) {
    *result = HandOutString(menu->text);
  }
  return xlretSuccess;
}

int32_t FakeExcel::AddMenu(XLOPER* result, int32_t count, XLOPER* const* args) {
  double bar = 0;
  if (count < 2 || !ToNumber(*args[0], &bar)) return xlretInvCount;
  const XLOPER& table = *args[1];
  // The menu table has the five ADD.MENU columns: text, macro, shortcut,
  // status text, help.
  if (BaseType(table) != xltypeMulti || table.val.array.lparray == nullptr ||
      table.val.array.rows < 1 || table.val.array.columns != 5) {
    ++refused_;
    SetError(result, xlerrValue);
    return xlretSuccess;
  }
  // The position: a menu's number on the bar, or the text of the menu it
  // goes before; left out, the menu goes last. Anything else is #VALUE!.
  auto place = menus_.end();
  if (count >= 3 && BaseType(*args[2]) != xltypeMissing) {
    double number = 0;
    if (BaseType(*args[2]) == xltypeStr) {
      place = FindMenu(bar, Text(*args[2]));
    } else if (ToNumber(*args[2], &number) && number >= 1 &&
               number <= MenusOn(bar) + 1) {
      place = NthMenu(bar, static_cast<int>(number));
    } else {
      place = menus_.end();
      number = -1;
    }
    if ((BaseType(*args[2]) == xltypeStr && place == menus_.end()) ||
        number < 0) {
      ++refused_;
      SetError(result, xlerrValue);
      return xlretSuccess;
    }
  }
  Menu menu{bar, Text(table.val.array.lparray[0]), false, {}};
  for (int row = 1; row < table.val.array.rows; ++row) {
    menu.items.push_back(Text(table.val.array.lparray[row * 5]));
  }
  const auto added = menus_.insert(place, std::move(menu));
  SetNumber(result, static_cast<double>(added - menus_.begin() + 1));
  return xlretSuccess;
}

int32_t FakeExcel::AddCommand(XLOPER* result, int32_t count,
                              XLOPER* const* args) {
  double bar = 0;
  if (count < 3 || !ToNumber(*args[0], &bar)) return xlretInvCount;
  // ADD.COMMAND(bar, menu, command row[, position]): the menu by its
  // text, one row of the five ADD.MENU columns, the item it goes before.
  const auto menu = FindMenu(bar, Text(*args[1]));
  const XLOPER& row = *args[2];
  if (menu == menus_.end() || BaseType(row) != xltypeMulti ||
      row.val.array.lparray == nullptr || row.val.array.rows != 1 ||
      row.val.array.columns != 5) {
    ++refused_;
    SetError(result, xlerrValue);
    return xlretSuccess;
  }
  auto place = menu->items.end();
  if (count >= 4 && BaseType(*args[3]) == xltypeStr) {
    place = std::find_if(menu->items.begin(), menu->items.end(),
                         [&](const std::string& item) {
                           return MenuKey(item) == MenuKey(Text(*args[3]));
                         });
    if (place == menu->items.end()) {
      ++refused_;
      SetError(result, xlerrValue);
      return xlretSuccess;
    }
  }
  const auto added = menu->items.insert(place, Text(row.val.array.lparray[0]));
  SetNumber(result, static_cast<double>(added - menu->items.begin() + 1));
  return xlretSuccess;
}

int FakeExcel::MenuItemPosition(const std::string& menu,
                                const std::string& item) const {
  for (const Menu& entry : menus_) {
    if (entry.bar != kWorksheetBar || MenuKey(entry.text) != MenuKey(menu)) {
      continue;
    }
    for (std::size_t i = 0; i < entry.items.size(); ++i) {
      if (MenuKey(entry.items[i]) == MenuKey(item)) {
        return static_cast<int>(i) + 1;
      }
    }
  }
  return 0;
}

bool FakeExcel::ValidRegistrationTexts(const std::vector<std::string>& texts,
                                       double macroType, bool wide) const {
  // Module and procedure are required; REGISTER takes no text longer than
  // 255 characters.
  if (texts.size() < 2 || texts[0].empty() || texts[1].empty()) return false;
  for (const std::string& text : texts) {
    if (text.size() > 255) return false;
  }
  const double type = macroType < 0 ? 1 : macroType;
  if (!ValidMacroType(type)) return false;
  if (texts.size() >= 3 && !texts[2].empty() &&
      !ValidTypeText(texts[2], type == 2, wide)) {
    return false;
  }
  // A command needs the name it is run by.
  if (type == 2 && (texts.size() < 4 || texts[3].empty())) return false;
  return true;
}

int FakeExcel::MenusOn(double bar) const {
  int count = 0;
  for (const Menu& menu : menus_) {
    if (menu.bar == bar) ++count;
  }
  return count;
}

std::vector<FakeExcel::Menu>::iterator FakeExcel::NthMenu(double bar, int n) {
  for (auto menu = menus_.begin(); menu != menus_.end(); ++menu) {
    if (menu->bar == bar && --n == 0) return menu;
  }
  return menus_.end();
}

int FakeExcel::MenuPosition(const std::string& name) const {
  int position = 0;
  for (const Menu& menu : menus_) {
    if (menu.bar != kWorksheetBar) continue;
    ++position;
    if (MenuKey(menu.text) == MenuKey(name)) return position;
  }
  return 0;
}

void FakeExcel::RemoveMenus() {
  std::vector<Menu> kept;
  for (const Menu& menu : menus_) {
    if (menu.builtIn) kept.push_back(menu);
  }
  menus_ = std::move(kept);
}

int32_t FakeExcel::DeleteMenu(XLOPER* result, int32_t count,
                              XLOPER* const* args) {
  double bar = 0;
  if (count < 2 || !ToNumber(*args[0], &bar)) return xlretInvCount;
  const auto menu = FindMenu(bar, Text(*args[1]));
  if (menu == menus_.end()) {
    SetError(result, xlerrValue);
  } else {
    menus_.erase(menu);
    SetBool(result, true);
  }
  return xlretSuccess;
}

int32_t FakeExcel::SetName(XLOPER* result, int32_t count, XLOPER* const*) {
  if (count < 1) return xlretInvCount;
  SetBool(result, true);
  return xlretSuccess;
}

int FakeExcel::MenuCount(const std::string& name) const {
  int found = 0;
  for (const Menu& menu : menus_) {
    if (MenuKey(menu.text) == MenuKey(name)) ++found;
  }
  return found;
}

XLOPER FakeExcel::HandOutString(const std::string& text) {
  const std::size_t length = text.size() > 255 ? 255 : text.size();
  std::shared_ptr<char> memory(new char[length + 1],
                               std::default_delete<char[]>());
  memory.get()[0] = static_cast<char>(static_cast<unsigned char>(length));
  std::memcpy(memory.get() + 1, text.data(), length);
  XLOPER value{};
  value.val.str = memory.get();
  value.xltype = xltypeStr;
  handedOut_.emplace(memory.get(), std::move(memory));
  return value;
}

std::vector<FakeExcel::Menu>::iterator FakeExcel::FindMenu(
    double bar, const std::string& name) {
  for (auto menu = menus_.begin(); menu != menus_.end(); ++menu) {
    if (menu->bar == bar && MenuKey(menu->text) == MenuKey(name)) return menu;
  }
  return menus_.end();
}

FakeExcel& TheFakeExcel() {
  static FakeExcel fake;
  return fake;
}

}  // namespace marrowfield
