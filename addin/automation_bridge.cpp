// Connecting to the host, step by step, and giving the connection back.
// The host's callback library does the screen and document steps; the
// automation port does the rest.

#include "automation_bridge.h"

#include <cstdio>
#include <utility>

#include "application_from_windows.h"
#include "bridge_state.h"
#include "call_host.h"
#include "debug_output.h"
#include "host_call_error.h"
#include "host_functions.h"
#include "host_members.h"
#include "host_value.h"
#include "host_windows.h"
#include "own_application.h"
#include "temp_value_pool.h"

IDispatch* g_pdispWorkbooks = nullptr;
bool g_bOleInitialized = false;

namespace marrowfield {
namespace {

// The document type the host is asked to make with xlcNew.
constexpr double kNewDocumentType = 6.0;

XLOPER Boolean(bool flag) {
  XLOPER value{};
  value.val.xbool = flag ? 1 : 0;
  value.xltype = xltypeBool;
  return value;
}

void SetScreenUpdating(bool on) {
  XLOPER flag = Boolean(on);
  CallHost(xlcEcho, nullptr, &flag);
}

// True when the host made the document: it answered 0 and no error value.
bool MakeTemporaryDocument() {
  HostValue result;
  const int32_t code = result.Call(xlcNew, MakeTempNumber(kNewDocumentType));
  return code == xlretSuccess && !result.IsError();
}

void CloseActiveDocumentWithoutSaving() {
  XLOPER save = Boolean(false);
  CallHost(xlcClose, nullptr, &save);
}

// Closes the temporary document when one was made and turns screen updating
// back on, on every way out of ConnectToHost.
class TemporaryDocument {
 public:
  TemporaryDocument() {
    SetScreenUpdating(false);
    made_ = MakeTemporaryDocument();
  }
  ~TemporaryDocument() { Finish(); }
  TemporaryDocument(const TemporaryDocument&) = delete;
  TemporaryDocument& operator=(const TemporaryDocument&) = delete;

  void Finish() {
    if (finished_) return;
    finished_ = true;
    if (made_) CloseActiveDocumentWithoutSaving();
    // Also when no document was made: the host must not be left with its
    // screen frozen.
    SetScreenUpdating(true);
  }

 private:
  bool made_ = false;
  bool finished_ = false;
};

}  // namespace

int32_t AutomationBridge::ConnectToHost() noexcept {
  try {
    return Connect();
  } catch (...) {
    return kEFail;
  }
}

int32_t AutomationBridge::Connect() {
  TemporaryDocument document;
  if (g_pdispXL != nullptr) {
    debug_.Write("NULL != g_pdispXL\n");
    return kEFail;
  }
  if (!g_bOleInitialized) {
    const HResult hr = port_.InitializeOle();
    if (Failed(hr)) {
      debug_.Write("OleInitialize Failed\n");
      return hr;
    }
    g_bOleInitialized = true;
  }
  HResult hr = FindApplication();
  document.Finish();
  if (Failed(hr)) return hr;
  if (g_pdispWorkbooks != nullptr) {
    DispatchRef(port_, g_pdispWorkbooks).Reset();
    g_pdispWorkbooks = nullptr;
  }
  hr = GetWorkbooks(port_, g_pdispXL, &g_pdispWorkbooks);
  if (Failed(hr)) {
    DispatchRef(port_, g_pdispXL).Reset();
    ForgetHostConnection();
    return hr;
  }
  return kSOk;
}

HResult AutomationBridge::FindApplication() {
  WindowSearch seen;
  if (windows_ != nullptr && Succeeded(FindApplicationThroughWindows(
                                 port_, *windows_, &g_pdispXL, &seen))) {
    return kSOk;
  }
  const HResult hr = FindOwnApplication(port_, &g_pdispXL);
  if (Failed(hr)) {
    // The one trace of a connection that failed both ways, for whoever
    // looks at the debugger output of a host where the search finds nothing.
    char line[200];
    std::snprintf(line, sizeof line,
                  "FindOwnApplication: %d workbook window(s) of this thread "
                  "gave no Application, and the CheckInstance probe failed "
                  "(0x%08lX)\n",
                  seen.workbookWindows,
                  static_cast<unsigned long>(static_cast<uint32_t>(hr)));
    debug_.Write(line);
  }
  return hr;
}

bool AutomationBridge::StillAnswers(IDispatch* application) {
  InvokeRequest request{
      kDispIdVersion, kLocaleEnglishUs, InvokeKind::kPropertyGet, {}};
  AutomationValue version;
  return Succeeded(
      port_.Invoke(application, request, &version, nullptr, nullptr));
}

void AutomationBridge::ReleaseApplication() noexcept {
  DispatchRef(port_, g_pdispWorkbooks).Reset();
  g_pdispWorkbooks = nullptr;
  DispatchRef(port_, g_pdispXL).Reset();
  g_pdispXL = nullptr;
}

void AutomationBridge::UninitializeOle() noexcept {
  if (!g_bOleInitialized) return;
  g_bOleInitialized = false;
  port_.UninitializeOle();
}

void AutomationBridge::AddWorkbookFromTemplate(
    const std::string& templatePath) {
  HostObject application = Application();
  if (application.IsNull()) {
    throw HostCallError(kEFail, "not connected to the host");
  }
  HostObject workbooks = application.Workbooks();
  if (workbooks.IsNull()) {
    throw HostCallError(kDispEParamNotFound, "the host has no Workbooks");
  }
  workbooks.Add(templatePath);
}

HostObject AutomationBridge::Application() noexcept {
  try {
    RefreshApplication();
  } catch (...) {
    // Whatever is kept stays kept; the caller sees it or nothing.
  }
  return HostObject(port_, g_pdispXL, false);
}

void AutomationBridge::RefreshApplication() {
  if (g_pdispXL != nullptr && !StillAnswers(g_pdispXL)) {
    debug_.Write("The host's Application no longer answers\n");
    ReleaseApplication();
    ForgetHostConnection();
  }
  if (g_pdispXL == nullptr && windows_ != nullptr) {
    IDispatch* found = nullptr;
    if (Succeeded(FindApplicationThroughWindows(port_, *windows_, &found))) {
      g_pdispXL = found;
      if (g_pdispWorkbooks == nullptr &&
          Failed(GetWorkbooks(port_, g_pdispXL, &g_pdispWorkbooks))) {
        ReleaseApplication();
      }
    }
  }
}

}  // namespace marrowfield
