// Behaviour of the fake ports. The automation fake follows the real
// bridge's rules for g_pdispXL and the probe, so a test of the add-in's
// open and close sees the same refusals the real host connection gives.

#include "fake_ports.h"

#include "bridge_state.h"
#include "host_call_error.h"

namespace marrowfield {
namespace {

// The fake objects stand behind g_pdispXL the way COM objects do; only
// their identity is ever compared.
IDispatch* AsDispatch(FakeApplication* application) {
  return reinterpret_cast<IDispatch*>(application);
}

constexpr int32_t kHresultUnavailable = static_cast<int32_t>(0x800401E3u);

}  // namespace

void FakeDebugOutput::Write(const char* text) noexcept {
  try {
    lines.emplace_back(text == nullptr ? "" : text);
  } catch (...) {
  }
}

bool FakeConfiguration::ReadText(const char* name, std::string* text) {
  const auto found = values.find(name);
  if (found == values.end()) return false;
  *text = found->second;
  return true;
}

int32_t FakeHostAutomation::ConnectToHost() noexcept {
  ++connectCalls;
  if (g_pdispXL != nullptr) {
    debug_.Write("NULL != g_pdispXL\n");
    return kHresultFail;
  }
  if (!hostRunning) return kHresultUnavailable;
  try {
    applications.push_back(std::make_unique<FakeApplication>());
  } catch (...) {
    return kHresultFail;
  }
  g_pdispXL = AsDispatch(applications.back().get());
  g_bOkayToSetIFlag = true;
  CheckInstanceProbe(debug_);
  g_bOkayToSetIFlag = false;
  return 0;
}

void FakeHostAutomation::ReleaseApplication() noexcept {
  FakeApplication* application = Current();
  if (application == nullptr) return;
  --application->references;
  ++application->releases;
}

void FakeHostAutomation::AddWorkbookFromTemplate(
    const std::string& templatePath) {
  if (g_pdispXL == nullptr) {
    throw HostCallError(kHresultFail, "no host connection");
  }
  if (templatePath.empty()) {
    throw HostCallError(kHresultFail, "the host cannot open an empty path");
  }
  workbooksAdded.push_back(templatePath);
}

FakeApplication* FakeHostAutomation::Current() const {
  for (const auto& application : applications) {
    if (AsDispatch(application.get()) == g_pdispXL) return application.get();
  }
  return nullptr;
}

void FakeDialogs::ShowSearchDialog(const AddinConfig& config) {
  if (failNext) {
    failNext = false;
    throw HostCallError(kHresultFail, "a host call failed in the dialog");
  }
  ++searchShown;
  shownVersion = config.versionText;
}

void FakeDialogs::ShowAboutDialog() {
  if (failNext) {
    failNext = false;
    throw HostCallError(kHresultFail, "a host call failed in the dialog");
  }
  ++aboutShown;
}

void FakeDialogs::ShowDuplicatesDialog() {
  if (failNext) {
    failNext = false;
    throw HostCallError(kHresultFail, "a host call failed in the dialog");
  }
  ++duplicatesShown;
}

}  // namespace marrowfield
