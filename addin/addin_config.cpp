// Reading the add-in's configuration. Missing values are normal (only the
// sample test needs one), so nothing here fails.

#include "addin_config.h"

#include <utility>

#include "debug_output.h"

namespace marrowfield {
namespace {

bool ReadLimited(ConfigurationSource& source, const char* name,
                 std::string* field) {
  std::string text;
  if (!source.ReadText(name, &text)) return false;
  if (text.size() > kMaxConfigTextLength) text.resize(kMaxConfigTextLength);
  *field = std::move(text);
  return true;
}

}  // namespace

AddinConfig LoadAddinConfig(ConfigurationSource& source, DebugOutput& debug) {
  AddinConfig config;
  if (!ReadLimited(source, "SampleWorkBook", &config.sampleWorkbookPath)) {
    debug.Write("\nCouldn't read sample workboo");
  }
  ReadLimited(source, "Version", &config.versionText);
  return config;
}

}  // namespace marrowfield
