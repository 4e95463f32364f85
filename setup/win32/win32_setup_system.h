// Win32SetupSystem: the installer's SetupSystem over kernel32 and advapi32.
// Excel's bitness is that of the process owning its window: a 32-bit
// process on 64-bit Windows runs under WOW64 (IsWow64Process says so);
// otherwise a process has the bitness of Windows itself.

#ifndef MARROWFIELD_SETUP_WIN32_WIN32_SETUP_SYSTEM_H_
#define MARROWFIELD_SETUP_WIN32_WIN32_SETUP_SYSTEM_H_

#include "setup_system.h"

namespace marrowfield {

class Win32SetupSystem : public SetupSystem {
 public:
  int ProcessBitnessOfWindow(int64_t window) noexcept override;
  int ImageBitness(const std::string& path) noexcept override;
  bool WriteSetting(const std::string& name,
                    const std::string& value) noexcept override;
  void RemoveSetting(const std::string& name) noexcept override;
  void RemoveUserKey(const std::string& key) noexcept override;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_SETUP_WIN32_WIN32_SETUP_SYSTEM_H_
