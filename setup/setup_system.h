// SetupSystem: what the installer needs of Windows besides automation and
// the shell -- the bitness of the Excel it started, the bitness of an add-in
// file, and the add-in's settings in the registry. Windows implements it
// over kernel32 and advapi32; the tests stand a fake in its place.

#ifndef MARROWFIELD_SETUP_SETUP_SYSTEM_H_
#define MARROWFIELD_SETUP_SETUP_SYSTEM_H_

#include <cstdint>
#include <string>

namespace marrowfield {

class SetupSystem {
 public:
  virtual ~SetupSystem() = default;

  // 32 or 64: the bitness of the process that owns the top-level window
  // |window| (Excel's Application.Hwnd). 0 when it cannot be told.
  virtual int ProcessBitnessOfWindow(int64_t window) noexcept = 0;

  // 32 or 64: the bitness of the Windows image at |path|; 0 when the file
  // is there but no 32- or 64-bit x86 image; -1 when it cannot be read.
  virtual int ImageBitness(const std::string& path) noexcept = 0;

  // Writes the text value |name| of the add-in's registry key (the one the
  // add-in reads its configuration from), making the key when needed.
  // False when it cannot be written.
  virtual bool WriteSetting(const std::string& name,
                            const std::string& value) noexcept = 0;

  // Deletes the value |name| of the add-in's registry key, if there.
  virtual void RemoveSetting(const std::string& name) noexcept = 0;

  // Deletes the key |key| under HKEY_CURRENT_USER with everything beneath
  // it, if there.
  virtual void RemoveUserKey(const std::string& key) noexcept = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_SETUP_SETUP_SYSTEM_H_
