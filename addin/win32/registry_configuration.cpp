// Reading text values from the registry. The key is opened for each value
// and closed by its owner's destructor, whatever happens in between.

#include "registry_configuration.h"

#include <windows.h>

#include <cstring>

#include "registry_key.h"

namespace marrowfield {
namespace {

// The buffer the add-in reads each value into.
constexpr DWORD kValueBufferSize = 260;

}  // namespace

bool RegistryConfiguration::ReadText(const char* name, std::string* text) {
  if (name == nullptr || text == nullptr) return false;
  // Reading needs no more than query access; asking for more would fail
  // where the user may read the key but not change it.
  RegistryKey key;
  if (key.Opened(RegOpenKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0,
                               KEY_QUERY_VALUE, key.Out())) != ERROR_SUCCESS) {
    return false;
  }
  char buffer[kValueBufferSize] = {};
  DWORD type = 0;
  DWORD size = sizeof buffer;
  if (RegQueryValueExA(key.get(), name, nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer),
                       &size) != ERROR_SUCCESS) {
    return false;
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  // A value may be stored without its terminator; never read past what
  // the registry wrote.
  const void* end = std::memchr(buffer, '\0', size);
  const std::size_t length =
      end == nullptr ? size : static_cast<const char*>(end) - buffer;
  if (length >= kValueBufferSize) return false;
  text->assign(buffer, length);
  return true;
}

}  // namespace marrowfield
