// AddinConfig: the add-in's small configuration, read once when the add-in
// starts, and ConfigurationSource, the port it is read through (the
// registry key "SOFTWARE\Microsoft\Marrowfield" under HKEY_CURRENT_USER on
// Windows).

#ifndef MARROWFIELD_ADDIN_ADDIN_CONFIG_H_
#define MARROWFIELD_ADDIN_ADDIN_CONFIG_H_

#include <cstddef>
#include <string>

namespace marrowfield {

class DebugOutput;

// Each text holds at most this many characters; empty when not read.
constexpr std::size_t kMaxConfigTextLength = 259;

struct AddinConfig {
  std::string sampleWorkbookPath;  // "SampleWorkBook": template of the test
  std::string versionText;         // "Version": shown in the search title
};

class ConfigurationSource {
 public:
  virtual ~ConfigurationSource() = default;

  // Reads the text value |name| into *|text|. Returns false, leaving *|text|
  // alone, when the value is missing or not readable as text.
  virtual bool ReadText(const char* name, std::string* text) = 0;
};

// Reads both values from |source|. A value that cannot be read stays
// empty; a missing sample workbook is also reported on |debug|. Texts
// longer than kMaxConfigTextLength are cut there.
AddinConfig LoadAddinConfig(ConfigurationSource& source, DebugOutput& debug);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_ADDIN_CONFIG_H_
