// fake_excel_server.dll: the fake Excel as an in-process COM server, so
// that MarrowfieldSetup.exe under Wine starts it as it would start Excel --
// by the ProgID "Excel.Application" through CoCreateInstance. The tests
// register it (DllRegisterServer) for Excel's own class identifier and
// withdraw it again (DllUnregisterServer). One FakeExcelWorld per process,
// made at the first CreateInstance; when the process ends the module logs
// how many references to its objects were never released.

#include <objbase.h>
#include <windows.h>

#include <memory>
#include <string>

#include "fake_excel_world.h"

namespace {

constexpr char kProgIdKey[] = "Software\\Classes\\Excel.Application";
constexpr char kClassKey[] =
    "Software\\Classes\\CLSID\\{00024500-0000-0000-C000-000000000046}";
constexpr char kClassText[] = "{00024500-0000-0000-C000-000000000046}";

HMODULE g_hModule = nullptr;
// Lives until the module is unloaded; the detach still reads it.
std::unique_ptr<marrowfield::FakeExcelWorld> g_pWorld;

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

// The class factory of the one class; it lives as long as the module.
class ApplicationFactory : public IClassFactory {
 public:
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
    try {
      if (g_pWorld == nullptr) {
        g_pWorld = std::make_unique<marrowfield::FakeExcelWorld>();
      }
      return g_pWorld->Application(iid, out);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

ApplicationFactory g_factory;

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_hModule = instance;
  if (reason == DLL_PROCESS_DETACH && g_pWorld != nullptr) {
    g_pWorld->LogOutstandingReferences();
  }
  return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (clsid != marrowfield::kExcelApplicationClass) {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return g_factory.QueryInterface(iid, out);
}

// The world keeps its objects' state for the process; never unload it.
HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }

// Registers this module for Excel's class and ProgID: the machine's
// classes first (Wine looks there), the user's if those are closed.
HRESULT WINAPI DllRegisterServer() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(g_hModule, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return E_FAIL;
  const std::string classKey = kClassKey;
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    if (SetValue(root, classKey, nullptr, "Fake Microsoft Excel") &&
        SetValue(root, classKey + "\\InprocServer32", nullptr, path) &&
        SetValue(root, classKey + "\\InprocServer32", "ThreadingModel",
                 "Apartment") &&
        SetValue(root, classKey + "\\ProgID", nullptr, "Excel.Application") &&
        SetValue(root, std::string(kProgIdKey) + "\\CLSID", nullptr,
                 kClassText)) {
      return S_OK;
    }
  }
  return E_ACCESSDENIED;
}

HRESULT WINAPI DllUnregisterServer() {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    RegDeleteTreeA(root, kClassKey);
    RegDeleteTreeA(root, kProgIdKey);
  }
  return S_OK;
}

}  // extern "C"
