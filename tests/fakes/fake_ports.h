// Fakes of the add-in's operating-system ports: debug output, the
// configuration store, the host's automation object and the dialogs. Each
// records what it was asked, so tests can check the add-in's side of every
// conversation.

#ifndef MARROWFIELD_TESTS_FAKES_FAKE_PORTS_H_
#define MARROWFIELD_TESTS_FAKES_FAKE_PORTS_H_

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "addin_config.h"
#include "debug_output.h"
#include "dialog_views.h"
#include "host_automation.h"

namespace marrowfield {

class FakeDebugOutput : public DebugOutput {
 public:
  void Write(const char* text) noexcept override;
  std::vector<std::string> lines;
};

class FakeConfiguration : public ConfigurationSource {
 public:
  bool ReadText(const char* name, std::string* text) override;
  std::map<std::string, std::string> values;
};

// The host's Application object as far as the add-in can tell: how often
// it was connected to and released.
struct FakeApplication {
  int references = 1;
  int releases = 0;
};

// Connects the way the real bridge does: refuses while g_pdispXL is still
// set, and has the probe call the add-in's CheckInstance before it
// accepts an object.
class FakeHostAutomation : public HostAutomation {
 public:
  explicit FakeHostAutomation(DebugOutput& debug) : debug_(debug) {}

  int32_t ConnectToHost() noexcept override;
  void ReleaseApplication() noexcept override;
  void UninitializeOle() noexcept override { ++oleUninitializeCalls; }
  void AddWorkbookFromTemplate(const std::string& templatePath) override;

  // The application object g_pdispXL points at, or nullptr.
  FakeApplication* Current() const;

  bool hostRunning = true;
  int connectCalls = 0;
  int oleUninitializeCalls = 0;
  std::vector<std::unique_ptr<FakeApplication>> applications;
  std::vector<std::string> workbooksAdded;

 private:
  DebugOutput& debug_;
};

class FakeDialogs : public DialogViews {
 public:
  void ShowSearchDialog(const AddinConfig& config) override;
  void ShowAboutDialog() override;
  void ShowDuplicatesDialog() override;

  int searchShown = 0;
  int aboutShown = 0;
  int duplicatesShown = 0;
  std::string shownVersion;
  bool failNext = false;  // the next dialog ends with a HostCallError
};

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FAKES_FAKE_PORTS_H_
