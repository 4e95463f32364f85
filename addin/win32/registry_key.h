// An open registry key, closed by its destructor on every way out of the
// code that opened it. The add-in's settings, its ribbon's registration
// and the installer all open keys this one way.

#ifndef MARROWFIELD_ADDIN_WIN32_REGISTRY_KEY_H_
#define MARROWFIELD_ADDIN_WIN32_REGISTRY_KEY_H_

#include <windows.h>

namespace marrowfield {

class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() { Close(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Where the opening function writes the key (a key held before is
  // closed first). Pass its status through Opened().
  HKEY* Out() {
    Close();
    return &key_;
  }
  // |status|, the opening function's, passed through. After a failed open
  // no key is held: the registry does not promise what it leaves in the
  // handle then, and closing that could close some other handle.
  LONG Opened(LONG status) {
    if (status != ERROR_SUCCESS) key_ = nullptr;
    return status;
  }
  HKEY get() const { return key_; }

 private:
  void Close() {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = nullptr;
  }

  HKEY key_ = nullptr;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_REGISTRY_KEY_H_
