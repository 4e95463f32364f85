// RegistryConfiguration: the add-in's configuration values as text values
// of one registry key under HKEY_CURRENT_USER.

#ifndef MARROWFIELD_ADDIN_WIN32_REGISTRY_CONFIGURATION_H_
#define MARROWFIELD_ADDIN_WIN32_REGISTRY_CONFIGURATION_H_

#include <string>
#include <utility>

#include "addin_config.h"

namespace marrowfield {

// Where the add-in's values live (backslashes literal).
constexpr const char* kAddinRegistryKey = "SOFTWARE\\Microsoft\\Marrowfield";

class RegistryConfiguration : public ConfigurationSource {
 public:
  // |keyPath| is relative to HKEY_CURRENT_USER.
  explicit RegistryConfiguration(std::string keyPath = kAddinRegistryKey)
      : keyPath_(std::move(keyPath)) {}

  // Reads a string value into a 260-byte buffer: values of up to 259
  // characters. Missing keys, missing values, longer values and values
  // that are not strings read as absent.
  bool ReadText(const char* name, std::string* text) override;

 private:
  std::string keyPath_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_REGISTRY_CONFIGURATION_H_
