// The fake's C surface: Excel4 and Excel4v as the add-in imports them, and
// the functions through which tests read the record. The same file goes
// into the native test programs and into the fake XLCALL32.DLL.

#include "fake_xlcall32.h"

#include <cstdarg>
#include <string>
#include <vector>

#include "fake_excel.h"
#include "host_callback_library.h"
#include "host_functions.h"

using marrowfield::TheFakeExcel;
using marrowfield::XLOPER;

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

void fake_xl_reset(void) { TheFakeExcel().Reset(); }

void fake_xl_set_addin_path(const char* path) {
  TheFakeExcel().SetAddinPath(path == nullptr ? "" : path);
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

int fake_xl_refused_calls(void) { return TheFakeExcel().refused(); }

}  // extern "C"
