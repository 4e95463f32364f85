// The report's texts. Code and fallbacks are formatted as the installer
// has always printed them ("%08lx" for the code, "%d" and "0x%0lX" for the
// fallbacks), with the HRESULT read as an unsigned 32-bit number.

#include "com_error_report.h"

#include <cstdint>
#include <cstdio>

namespace marrowfield {
namespace {

constexpr uint32_t kDispatchErrorBase = 0x80040200u;
constexpr uint32_t kDispatchErrorLast = 0x8004FFFFu;

// A text the error does not carry prints as the C library prints a null
// string.
const char* OrNull(const std::string& text) {
  return text.empty() ? "(null)" : text.c_str();
}

}  // namespace

std::string ErrorMessageText(HResult hr, AutomationPort& port) {
  std::string text;
  if (port.SystemMessage(hr, &text) && !text.empty()) {
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) {
      text.resize(text.size() - 2);
    }
    return text;
  }
  const uint32_t code = static_cast<uint32_t>(hr);
  char fallback[48];
  if (code > kDispatchErrorBase && code <= kDispatchErrorLast) {
    std::snprintf(fallback, sizeof(fallback), "IDispatch error #%d",
                  static_cast<int>(code - kDispatchErrorBase));
  } else {
    std::snprintf(fallback, sizeof(fallback), "Unknown error 0x%0lX",
                  static_cast<unsigned long>(code));
  }
  return fallback;
}

void ReportComError(const ComError& error, AutomationPort& port,
                    std::ostream& out) {
  char code[32];
  std::snprintf(
      code, sizeof(code), "%08lx",
      static_cast<unsigned long>(static_cast<uint32_t>(error.hresult())));
  out << "Oops - hit an error!\n";
  out << "\a\tCode = " << code << "\n";
  out << "\a\tCode meaning = " << ErrorMessageText(error.hresult(), port)
      << "\n";
  out << "\a\tSource = " << OrNull(error.source()) << "\n";
  out << "\a\tDescription = " << OrNull(error.description()) << "\n";
}

}  // namespace marrowfield
