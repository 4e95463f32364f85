// The fake's C surface: Excel4 and Excel4v as the add-in imports them, and
// the functions through which tests read the record. The same file goes
// into the native test programs and into the fake XLCALL32.DLL.

#include "fake_xlcall32.h"

#include <cstdarg>
#include <string>
#include <vector>

#include "fake_excel.h"
#include "host_callback_library.h"
#include "host_callback_library12.h"
#include "host_functions.h"

using marrowfield::TheFakeExcel;
using marrowfield::XLOPER;
using marrowfield::XLOPER12;

namespace {

const marrowfield::FakeExcel::Registration* RegistrationAt(int registration) {
  const auto& all = TheFakeExcel().registrations();
  if (registration < 0 ||
      static_cast<std::size_t>(registration) >= all.size()) {
    return nullptr;
  }
  return &all[static_cast<std::size_t>(registration)];
}

void SetCell(int sheet, int row, int column,
             marrowfield::FakeExcel::Cell cell) {
  TheFakeExcel().SetCell(static_cast<uintptr_t>(sheet), row, column,
                         std::move(cell));
}

}  // namespace

extern "C" {

int MARROWFIELD_XLCALL_STDCALL Excel4v(int xlfn, XLOPER* operRes, int count,
                                       XLOPER* opers[]) {
  return TheFakeExcel().Answer(xlfn, operRes, count, opers);
}

int MARROWFIELD_XLCALL_CDECL Excel4(int xlfn, XLOPER* operRes, int count, ...) {
  if (count < 0 || count > 30) return marrowfield::xlretInvCount;
  std::vector<XLOPER*> opers(static_cast<std::size_t>(count));
  va_list args;
  va_start(args, count);
  for (XLOPER*& oper : opers) oper = va_arg(args, XLOPER*);
  va_end(args);
  return TheFakeExcel().Answer(xlfn, operRes, count, opers.data());
}

int MARROWFIELD_FAKE_STDCALL fake_xl_callback12(int xlfn, int count,
                                                void** opers, void* operRes) {
  return TheFakeExcel().Answer12(xlfn, static_cast<XLOPER12*>(operRes), count,
                                 reinterpret_cast<XLOPER12* const*>(opers));
}

void fake_xl_reset(void) { TheFakeExcel().Reset(); }

void fake_xl_set_addin_path(const char* path) {
  TheFakeExcel().SetAddinPath(path == nullptr ? "" : path);
}

void fake_xl_set_main_window(long long handle) {
  TheFakeExcel().SetMainWindow(handle);
}

void fake_xl_set_return_code(int code) { TheFakeExcel().SetReturnCode(code); }

int fake_xl_call_count(void) {
  return static_cast<int>(TheFakeExcel().calls().size());
}

int fake_xl_call_function(int call) {
  const auto& calls = TheFakeExcel().calls();
  if (call < 0 || static_cast<std::size_t>(call) >= calls.size()) return -1;
  return calls[static_cast<std::size_t>(call)].function;
}

int fake_xl_call_arg_count(int call) {
  const auto& calls = TheFakeExcel().calls();
  if (call < 0 || static_cast<std::size_t>(call) >= calls.size()) return -1;
  return static_cast<int>(calls[static_cast<std::size_t>(call)].args.size());
}

const char* fake_xl_call_arg(int call, int arg) {
  const auto& calls = TheFakeExcel().calls();
  if (call < 0 || static_cast<std::size_t>(call) >= calls.size()) return "";
  const auto& args = calls[static_cast<std::size_t>(call)].args;
  if (arg < 0 || static_cast<std::size_t>(arg) >= args.size()) return "";
  return args[static_cast<std::size_t>(arg)].c_str();
}

int fake_xl_menu_count(const char* name) {
  return TheFakeExcel().MenuCount(name == nullptr ? "" : name);
}

void fake_xl_remove_menus(void) { TheFakeExcel().RemoveMenus(); }

int fake_xl_outstanding_values(void) { return TheFakeExcel().outstanding(); }

int fake_xl_bad_frees(void) { return TheFakeExcel().badFrees(); }

int fake_xl_menu_position(const char* name) {
  return TheFakeExcel().MenuPosition(name == nullptr ? "" : name);
}

int fake_xl_menu_item_position(const char* menu, const char* item) {
  return TheFakeExcel().MenuItemPosition(menu == nullptr ? "" : menu,
                                         item == nullptr ? "" : item);
}

int fake_xl_refused_calls(void) { return TheFakeExcel().refused(); }

void fake_xl_offer_excel12(int offered) {
  TheFakeExcel().OfferExcel12(offered != 0);
}

int fake_xl_call12_count(void) { return TheFakeExcel().calls12(); }

int fake_xl_call12_function(int call) {
  const auto& calls = TheFakeExcel().calls12List();
  if (call < 0 || static_cast<std::size_t>(call) >= calls.size()) return -1;
  return calls[static_cast<std::size_t>(call)];
}

int fake_xl_registration_count(void) {
  return static_cast<int>(TheFakeExcel().registrations().size());
}

const char* fake_xl_registration_text(int registration, int arg) {
  const auto* found = RegistrationAt(registration);
  if (found == nullptr || arg < 0 ||
      static_cast<std::size_t>(arg) >= found->texts.size()) {
    return "";
  }
  return found->texts[static_cast<std::size_t>(arg)].c_str();
}

int fake_xl_registration_arg_count(int registration) {
  const auto* found = RegistrationAt(registration);
  return found == nullptr ? -1 : static_cast<int>(found->texts.size());
}

int fake_xl_registration_wide(int registration) {
  const auto* found = RegistrationAt(registration);
  return found != nullptr && found->wide ? 1 : 0;
}

int fake_xl_registration_active(int registration) {
  const auto* found = RegistrationAt(registration);
  return found != nullptr && found->registered ? 1 : 0;
}

void fake_xl_set_cell_text(int sheet, int row, int column, const char* text) {
  SetCell(sheet, row, column,
          {marrowfield::xltypeStr, text == nullptr ? "" : text, 0});
}

void fake_xl_set_cell_number(int sheet, int row, int column, double number) {
  SetCell(sheet, row, column, {marrowfield::xltypeNum, "", number});
}

void fake_xl_set_cell_boolean(int sheet, int row, int column, int flag) {
  SetCell(sheet, row, column,
          {marrowfield::xltypeBool, "", flag != 0 ? 1.0 : 0.0});
}

void fake_xl_set_cell_error(int sheet, int row, int column, int error) {
  SetCell(sheet, row, column,
          {marrowfield::xltypeErr, "", static_cast<double>(error)});
}

void fake_xl_clear_cells(void) { TheFakeExcel().ClearCells(); }

void fake_xl_set_sheet_closed(int sheet, int closed) {
  TheFakeExcel().SetSheetClosed(static_cast<uintptr_t>(sheet), closed != 0);
}

}  // extern "C"

#ifndef _WIN32
namespace marrowfield {

// Natively the fake stands in for the host process: Excel12 is there
// unless a test took it away.
Excel12Entry FindExcel12Entry() {
  if (!TheFakeExcel().offersExcel12()) return nullptr;
  return [](int xlfn, int count, XLOPER12** opers, XLOPER12* operRes) {
    return TheFakeExcel().Answer12(xlfn, operRes, count, opers);
  };
}

}  // namespace marrowfield
#endif
