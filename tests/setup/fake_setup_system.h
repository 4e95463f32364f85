// FakeSetupSystem: the installer's system port for the native tests. The
// Excel's bitness and the add-in files' bitnesses are set by the test;
// settings live in a map, as the registry key would hold them.

#ifndef MARROWFIELD_TESTS_SETUP_FAKE_SETUP_SYSTEM_H_
#define MARROWFIELD_TESTS_SETUP_FAKE_SETUP_SYSTEM_H_

#include <map>
#include <string>
#include <vector>

#include "setup_system.h"

namespace marrowfield {

class FakeSetupSystem : public SetupSystem {
 public:
  int ProcessBitnessOfWindow(int64_t window) noexcept override {
    askedWindow = window;
    return excelBitness;
  }
  int ImageBitness(const std::string& path) noexcept override {
    const auto found = files.find(path);
    return found == files.end() ? -1 : found->second;
  }
  bool WriteSetting(const std::string& name,
                    const std::string& value) noexcept override {
    settings[name] = value;
    return true;
  }
  void RemoveSetting(const std::string& name) noexcept override {
    settings.erase(name);
  }
  void RemoveUserKey(const std::string& key) noexcept override {
    removedKeys.push_back(key);
  }

  int excelBitness = 0;  // 0: cannot be told
  int64_t askedWindow = 0;
  std::map<std::string, int> files;  // path -> 32 or 64 (0: not an image)
  std::map<std::string, std::string> settings;
  std::vector<std::string> removedKeys;  // in the order removed
};

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_SETUP_FAKE_SETUP_SYSTEM_H_
