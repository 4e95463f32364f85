// fake_excel_server.exe: the fake Excel as an out-of-process COM server,
// so that MarrowfieldSetup.exe under Wine starts it as it starts Excel --
// by the ProgID "Excel.Application", CoCreateInstance and a LocalServer32 --
// and every call crosses a process boundary.
//   fake_excel_server.exe /RegServer --dir=FOLDER [--busy-ms=N]
//       registers this program for Excel's class and ProgID, with the
//       options it is then started with;
//   fake_excel_server.exe /UnregServer   withdraws the registration;
//   fake_excel_server.exe --dir=FOLDER [--busy-ms=N] -Embedding
//       as COM starts it: serves one Application until it was told to
//       quit and every reference to its objects is given back.
//   fake_excel_server.exe --dir=FOLDER --workbook=PATH --ready=EVENT
//       --stop=EVENT [--publish]
//       an Excel process of its own, as a user starts one: one workbook
//       (PATH, one sheet) shown in its XLMAIN / XLDESK / EXCEL7 windows,
//       registered as the active Excel with its workbook in the
//       running-object table when --publish is given. Sets the named
//       event READY once all that stands, serves until the named event
//       STOP (or a minute), then logs what it was asked: "window queries
//       N", "workbooks fetched N", "probes N" (CheckInstance calls its
//       macros made, each through the library it names).
// --busy-ms makes it turn away IDispatch calls for N milliseconds from the
// first one, as a busy Excel does; it logs how many it turned away. Like
// Excel it owns a (hidden) top-level window, which Application.Hwnd names.

#include <objbase.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "fake_excel_world.h"
#include "win32/fake_excel_windows.h"

namespace {

constexpr char kProgIdKey[] = "Software\\Classes\\Excel.Application";
constexpr char kClassKey[] =
    "Software\\Classes\\CLSID\\{00024500-0000-0000-C000-000000000046}";
constexpr char kClassText[] = "{00024500-0000-0000-C000-000000000046}";
// A server nobody calls any more gives up after this long.
constexpr DWORD kIdleLimitMs = 60000;

bool SetValue(HKEY root, const std::string& key, const char* name,
              const std::string& value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                      &opened, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG result = RegSetValueExA(
      opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
      static_cast<DWORD>(value.size() + 1));
  RegCloseKey(opened);
  return result == ERROR_SUCCESS;
}

void Unregister() {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    RegDeleteTreeA(root, kClassKey);
    RegDeleteTreeA(root, kProgIdKey);
  }
}

// The machine's classes first (Wine looks there), the user's if those are
// closed.
int Register(const std::string& options) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  Unregister();
  const std::string command = "\"" + std::string(path) + "\"" + options;
  const std::string classKey = kClassKey;
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    if (SetValue(root, classKey, nullptr, "Fake Microsoft Excel") &&
        SetValue(root, classKey + "\\LocalServer32", nullptr, command) &&
        SetValue(root, classKey + "\\ProgID", nullptr, "Excel.Application") &&
        SetValue(root, std::string(kProgIdKey) + "\\CLSID", nullptr,
                 kClassText)) {
      return 0;
    }
  }
  return 1;
}

// Turns IDispatch calls away while busy; everything else (COM's own
// reference counting, activation) goes through, as with Excel.
class BusyServerFilter : public IMessageFilter {
 public:
  explicit BusyServerFilter(DWORD busyMs) : busyMs_(busyMs) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
      *out = static_cast<IMessageFilter*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD,
                                             LPINTERFACEINFO info) override {
    lastCall_ = GetTickCount();
    if (busyMs_ == 0 || info == nullptr || info->iid != IID_IDispatch) {
      return SERVERCALL_ISHANDLED;
    }
    if (!started_) {
      started_ = true;
      busySince_ = lastCall_;
    }
    if (lastCall_ - busySince_ >= busyMs_) return SERVERCALL_ISHANDLED;
    ++rejected_;
    return SERVERCALL_REJECTED;
  }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
    return static_cast<DWORD>(-1);
  }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
    return PENDINGMSG_WAITDEFPROCESS;
  }

  int rejected() const { return rejected_; }
  DWORD lastCall() const { return lastCall_; }

 private:
  DWORD busyMs_;
  bool started_ = false;
  DWORD busySince_ = 0;
  DWORD lastCall_ = GetTickCount();
  int rejected_ = 0;
};

class ApplicationFactory : public IClassFactory {
 public:
  explicit ApplicationFactory(marrowfield::FakeExcelWorld& world)
      : world_(world) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid,
                                           void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    served_ = true;
    return world_.Application(iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

  bool served() const { return served_; }

 private:
  marrowfield::FakeExcelWorld& world_;
  bool served_ = false;
};

std::string Option(int argc, char** argv, const std::string& name) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.compare(0, name.size(), name) == 0) {
      return argument.substr(name.size());
    }
  }
  return {};
}

bool HasSwitch(int argc, char** argv, const char* name) {
  for (int i = 1; i < argc; ++i) {
    if (lstrcmpiA(argv[i], name) == 0) return true;
  }
  return false;
}

int Serve(const std::string& folder, DWORD busyMs) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  int status = 1;
  {
    HWND window = CreateWindowExA(0, "STATIC", "Fake Microsoft Excel",
                                  WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    marrowfield::FakeExcelWorld world(folder);
    world.SetWindow(window);
    BusyServerFilter filter(busyMs);
    IMessageFilter* previous = nullptr;
    CoRegisterMessageFilter(&filter, &previous);
    ApplicationFactory factory(world);
    DWORD cookie = 0;
    if (SUCCEEDED(CoRegisterClassObject(marrowfield::kExcelApplicationClass,
                                        &factory, CLSCTX_LOCAL_SERVER,
                                        REGCLS_SINGLEUSE, &cookie))) {
      status = 0;
      SetTimer(nullptr, 0, 50, nullptr);
      MSG message;
      while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
        // Done when told to quit and every reference came back, or when
        // nobody has called for a long while.
        const bool released =
            factory.served() && world.OutstandingReferences() == 0;
        if ((released && world.quitCalled()) ||
            GetTickCount() - filter.lastCall() > kIdleLimitMs) {
          break;
        }
      }
      CoRevokeClassObject(cookie);
    }
    CoRegisterMessageFilter(previous, nullptr);
    if (filter.rejected() > 0) {
      world.Note("rejected " + std::to_string(filter.rejected()) +
                 " calls as busy");
    }
    world.LogOutstandingReferences();
    if (window != nullptr) DestroyWindow(window);
  }
  CoUninitialize();
  return status;
}

#if defined(_WIN64)
#define PROBE_CALL
#else
#define PROBE_CALL __stdcall
#endif
using ProbeFunction = int(PROBE_CALL*)();

// Application.Workbooks, as the model numbers it.
constexpr int32_t kWorkbooksMember = 0x023C;

int RunAsExcel(const std::string& folder, const std::string& workbook,
               const std::string& readyName, const std::string& stopName,
               bool publish) {
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, readyName.c_str());
  HANDLE stop = OpenEventA(SYNCHRONIZE, FALSE, stopName.c_str());
  if (ready == nullptr || stop == nullptr ||
      FAILED(OleInitialize(nullptr))) {
    return 1;
  }
  {
    // A macro's cALL loads the library it names into this process, as
    // Excel would, and calls CheckInstance there.
    int probes = 0;
    marrowfield::FakeExcelWorld world(
        folder, [&probes](const std::string& path, int32_t* answer) {
          HMODULE library = LoadLibraryExA(path.c_str(), nullptr,
                                           LOAD_WITH_ALTERED_SEARCH_PATH);
          if (library == nullptr) return false;
          auto probe = reinterpret_cast<ProbeFunction>(reinterpret_cast<void*>(
              GetProcAddress(library, "CheckInstance")));
          if (probe != nullptr) {
            ++probes;
            *answer = probe();
          }
          FreeLibrary(library);
          return probe != nullptr;
        });
    marrowfield::FakeExcelModel& model = world.model();
    const int book = model.AddWorkbook(world.process(), workbook);
    model.AddWorksheet(world.process(), book, "Sheet1");
    {
      marrowfield::FakeExcelWindows windows(world.com());
      HWND main = windows.AddMainWindow(world.process());
      HWND bookWindow =
          main != nullptr ? windows.AddWorkbookWindow(main, book) : nullptr;
      world.SetWindow(main);
      if (publish) world.com().Publish();
      SetEvent(ready);
      // Its windows and objects answer while it waits, as a live Excel's do.
      const DWORD startedAt = GetTickCount();
      while (GetTickCount() - startedAt < kIdleLimitMs) {
        const DWORD woken =
            MsgWaitForMultipleObjects(1, &stop, FALSE, 1000, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) break;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
          TranslateMessage(&message);
          DispatchMessageA(&message);
        }
      }
      world.com().Withdraw();
      int fetched = 0;
      for (const marrowfield::InvokeRecord& record : model.invokes()) {
        if (record.kind == marrowfield::ModelKind::kApplication &&
            record.member == kWorkbooksMember) {
          ++fetched;
        }
      }
      world.Note("window queries " +
                 std::to_string(bookWindow != nullptr
                                    ? windows.Queries(bookWindow)
                                    : -1));
      world.Note("workbooks fetched " + std::to_string(fetched));
      world.Note("probes " + std::to_string(probes));
    }
    world.LogOutstandingReferences();
  }
  OleUninitialize();
  CloseHandle(ready);
  CloseHandle(stop);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = Option(argc, argv, "--dir=");
  const std::string busy = Option(argc, argv, "--busy-ms=");
  const std::string workbook = Option(argc, argv, "--workbook=");
  if (!workbook.empty()) {
    return RunAsExcel(folder.empty() ? "." : folder, workbook,
                      Option(argc, argv, "--ready="),
                      Option(argc, argv, "--stop="),
                      HasSwitch(argc, argv, "--publish"));
  }
  if (HasSwitch(argc, argv, "/UnregServer")) {
    Unregister();
    return 0;
  }
  if (HasSwitch(argc, argv, "/RegServer")) {
    std::string options = " \"--dir=" + folder + "\"";
    if (!busy.empty()) options += " --busy-ms=" + busy;
    return Register(options);
  }
  return Serve(folder.empty() ? "." : folder,
               static_cast<DWORD>(std::strtoul(busy.c_str(), nullptr, 10)));
}
