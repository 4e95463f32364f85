// Address building. The user text used to be put into the query raw and
// the whole address formatted into a fixed buffer; a space or "&" then
// broke the query and a long text overran or was cut mid-character. Each
// byte is now encoded on its own (multi-byte characters stay whole, byte by
// byte), and the string grows as needed.

#include "installer_address.h"

namespace marrowfield {
namespace {

bool Unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string PercentEncode(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(text.size());
  for (const char byte : text) {
    const auto c = static_cast<unsigned char>(byte);
    if (Unreserved(c)) {
      encoded += byte;
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 0x0F];
    }
  }
  return encoded;
}

std::string InstallerAddress(const std::string& site, const char* query,
                             const std::string& user) {
  return site + query + PercentEncode(user);
}

}  // namespace marrowfield
