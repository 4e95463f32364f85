// The Windows side of the installer's system port. The process handle and
// the registry key are each closed by one owner on every path.

#include "win32_setup_system.h"

#include <windows.h>

#include "image_bitness.h"
#include "registry_configuration.h"
#include "registry_key.h"

namespace marrowfield {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Whether Windows itself is 64-bit: always for a 64-bit program; for a
// 32-bit one, when it runs under WOW64.
bool WindowsIs64Bit() {
#if defined(_WIN64)
  return true;
#else
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

}  // namespace

int Win32SetupSystem::ProcessBitnessOfWindow(int64_t window) noexcept {
  // HWNDs are 32-bit values on 64-bit Windows too (so that 32- and 64-bit
  // processes can share them), which is how Excel can hand one out as a
  // Long.
  const HWND hwnd = reinterpret_cast<HWND>(static_cast<intptr_t>(window));
  DWORD processId = 0;
  if (GetWindowThreadProcessId(hwnd, &processId) == 0 || processId == 0) {
    return 0;
  }
  Handle process(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (process.get() == nullptr) return 0;
  BOOL wow64 = FALSE;
  if (!IsWow64Process(process.get(), &wow64)) return 0;
  if (wow64) return 32;
  return WindowsIs64Bit() ? 64 : 32;
}

int Win32SetupSystem::ImageBitness(const std::string& path) noexcept {
  try {
    return ImageBitnessOfFile(path);
  } catch (...) {
    return -1;
  }
}

bool Win32SetupSystem::WriteSetting(const std::string& name,
                                    const std::string& value) noexcept {
  RegistryKey key;
  if (key.Opened(RegCreateKeyExA(HKEY_CURRENT_USER, kAddinRegistryKey, 0,
                                 nullptr, 0, KEY_SET_VALUE, nullptr,
                                 key.Out(), nullptr)) != ERROR_SUCCESS) {
    return false;
  }
  return RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

void Win32SetupSystem::RemoveSetting(const std::string& name) noexcept {
  RegistryKey key;
  if (key.Opened(RegOpenKeyExA(HKEY_CURRENT_USER, kAddinRegistryKey, 0,
                               KEY_SET_VALUE, key.Out())) != ERROR_SUCCESS) {
    return;
  }
  RegDeleteValueA(key.get(), name.c_str());
}

void Win32SetupSystem::RemoveUserKey(const std::string& key) noexcept {
  RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
}

}  // namespace marrowfield
