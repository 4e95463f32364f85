// The fake host's answers. Where Excel answers with a value, the fake does
// the same: xlGetName gives the add-in's path, GET.BAR an error value until
// the menu exists and the menu's name once it does, REGISTER a number,
// xlCoerce the converted value. Functions it does not model are refused
// with xlretInvXlfn, as Excel refuses unknown numbers.

#include "fake_excel.h"

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

}  // namespace

void FakeExcel::Reset() {
  calls_.clear();
  menus_.clear();
  registerIds_.clear();
  handedOut_.clear();
  addinPath_ = "C:\\Program Files\\Marrowfield\\MarrowfieldExcel.xll";
  forcedCode_ = 0;
  badFrees_ = 0;
  TheFakeHostDocuments().Reset();
}

int32_t FakeExcel::Answer(int32_t function, XLOPER* result, int32_t count,
                          XLOPER* const* args) {
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
    case xlfRegister:
      return Register(result, count, args);
    case xlfGetBar:
      return GetBar(result, count, args);
    case xlfAddMenu:
      return AddMenu(result, count, args);
    case xlfDeleteMenu:
      return DeleteMenu(result, count, args);
    case xlfSetName:
      return SetName(result, count, args);
    default: {
      bool handled = false;
      const int32_t code = TheFakeHostDocuments().Answer(function, result,
                                                         count, args, &handled);
      return handled ? code : xlretInvXlfn;
    }
  }
}

int32_t FakeExcel::Free(int32_t count, XLOPER* const* args) {
  for (int32_t i = 0; i < count; ++i) {
    const XLOPER& value = *args[i];
    if (BaseType(value) != xltypeStr) continue;
    if (handedOut_.erase(value.val.str) == 0) ++badFrees_;
  }
  return xlretSuccess;
}

int32_t FakeExcel::Coerce(XLOPER* result, int32_t count, XLOPER* const* args) {
  if (count < 1) return xlretInvCount;
  double wanted = xltypeNum | xltypeStr | xltypeBool | xltypeErr;
  if (count >= 2 && !ToNumber(*args[1], &wanted)) return xlretInvXloper;
  const auto types = static_cast<uint16_t>(wanted);
  double number = 0;
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
  if (count < 2 || BaseType(*args[0]) != xltypeStr) {
    SetError(result, xlerrValue);
    return xlretSuccess;
  }
  // Excel gives a procedure the same register id each time.
  const std::string procedure = Text(*args[1]);
  auto found = registerIds_.find(procedure);
  if (found == registerIds_.end()) {
    found = registerIds_.emplace(procedure, 1000.0 + registerIds_.size()).first;
  }
  SetNumber(result, found->second);
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
  if (BaseType(table) != xltypeMulti || table.val.array.lparray == nullptr ||
      table.val.array.rows < 1 || table.val.array.columns < 1) {
    SetError(result, xlerrValue);
    return xlretSuccess;
  }
  menus_.push_back(Menu{bar, Text(table.val.array.lparray[0])});
  SetNumber(result, static_cast<double>(menus_.size()));
  return xlretSuccess;
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
  auto memory = std::make_unique<char[]>(length + 1);
  memory[0] = static_cast<char>(static_cast<unsigned char>(length));
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
