// The registration and the connection, in raw IDispatch calls on the
// Application Excel handed the bridge.

#include "com_addin_registration.h"

#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <utility>

#include "debug_output.h"
#include "registry_key.h"
#include "ribbon_ui.h"

namespace marrowfield {
namespace {

std::wstring Wide(const std::string& text) {
  std::wstring wide;
  for (char c : text) {
    wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
  }
  return wide;  // the names and texts are ASCII
}

// One VARIANT, cleared by its destructor.
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT* get() { return &value_; }
  VARIANT* operator->() { return &value_; }

 private:
  VARIANT value_;
};

LONG SetValue(const std::string& key, const wchar_t* name, DWORD type,
              const void* data, DWORD size) {
  RegistryKey opened;
  const LONG status = opened.Opened(
      RegCreateKeyExW(HKEY_CURRENT_USER, Wide(key).c_str(), 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, opened.Out(), nullptr));
  if (status != ERROR_SUCCESS) return status;
  return RegSetValueExW(opened.get(), name, 0, type,
                        static_cast<const BYTE*>(data), size);
}

LONG SetText(const std::string& key, const wchar_t* name,
             const std::wstring& value) {
  return SetValue(key, name, REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LONG SetNumber(const std::string& key, const wchar_t* name, DWORD value) {
  return SetValue(key, name, REG_DWORD, &value, sizeof value);
}

// One call of |name| on |object|; |argument| is passed when given. A
// property put names its value as automation requires. An exception's own
// code is returned in place of DISP_E_EXCEPTION.
HRESULT Call(IDispatch* object, const wchar_t* name, WORD kind,
             VARIANT* argument, VARIANT* result) {
  if (object == nullptr) return E_POINTER;
  std::wstring copy(name);
  LPOLESTR names[] = {&copy[0]};
  DISPID member = DISPID_UNKNOWN;
  HRESULT hr =
      object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
  if (FAILED(hr)) return hr;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS parameters = {nullptr, nullptr, 0, 0};
  if (argument != nullptr) {
    parameters.rgvarg = argument;
    parameters.cArgs = 1;
  }
  if (kind == DISPATCH_PROPERTYPUT) {
    parameters.rgdispidNamedArgs = &named;
    parameters.cNamedArgs = 1;
  }
  EXCEPINFO exception = {};
  hr = object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters,
                      result, &exception, nullptr);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  if (hr == DISP_E_EXCEPTION && FAILED(exception.scode)) hr = exception.scode;
  return hr;
}

// The object a call answered with, now owned by the caller; null when the
// answer was no object.
DispatchOwner TakeObject(Variant& value) {
  DispatchOwner object;
  if (value->vt == VT_DISPATCH && value->pdispVal != nullptr) {
    object.reset(value->pdispVal);
    value->vt = VT_EMPTY;  // the reference moved to |object|
    value->pdispVal = nullptr;
  }
  return object;
}

HRESULT PutConnect(IDispatch* addin, bool on) {
  Variant value;
  value->vt = VT_BOOL;
  value->boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
  return Call(addin, L"Connect", DISPATCH_PROPERTYPUT, value.get(), nullptr);
}

HRESULT ClassId(CLSID* classId) {
  std::wstring text = Wide(kRibbonClassText);
  return CLSIDFromString(&text[0], classId);
}

}  // namespace

LONG WriteComAddinKeys(const std::wstring& modulePath) noexcept {
  try {
    const std::wstring friendly = Wide(kRibbonFriendlyName);
    const std::string classKey = RibbonClassKey();
    const std::string addinKey = RibbonAddinKey();
    const std::string server = classKey + "\\InprocServer32";
    LONG status = ERROR_SUCCESS;
    const auto step = [&status](LONG result) {
      if (status == ERROR_SUCCESS) status = result;
    };
    step(SetText(RibbonProgIdKey(), nullptr, friendly));
    step(SetText(RibbonProgIdKey() + "\\CLSID", nullptr,
                 Wide(kRibbonClassText)));
    step(SetText(classKey, nullptr, friendly));
    step(SetText(classKey + "\\ProgID", nullptr, Wide(kRibbonProgId)));
    // The server is the XLL. Its class object is registered while the XLL
    // is open; a process that has no XLL open finds no entry point to load
    // and gets an error, never a crash.
    step(SetText(server, nullptr, modulePath));
    step(SetText(server, L"ThreadingModel", L"Apartment"));
    step(SetText(addinKey, L"FriendlyName", friendly));
    step(SetText(addinKey, L"Description", Wide(kRibbonDescription)));
    // 0: Excel does not load it by itself; the XLL connects it when open.
    step(SetNumber(addinKey, L"LoadBehavior", 0));
    if (status != ERROR_SUCCESS) RemoveComAddinKeys();
    return status;
  } catch (...) {
    RemoveComAddinKeys();
    return ERROR_OUTOFMEMORY;
  }
}

void RemoveComAddinKeys() noexcept {
  try {
    for (const std::string& key :
         {RibbonAddinKey(), RibbonClassKey(), RibbonProgIdKey()}) {
      RegDeleteTreeW(HKEY_CURRENT_USER, Wide(key).c_str());
    }
  } catch (...) {
  }
}

void ComAddinConnection::Report(const char* step, HRESULT hr) noexcept {
  char line[256];
  std::snprintf(line, sizeof line,
                "Marrowfield ribbon: not shown, %s (0x%08lX); the Marrowfield "
                "menu remains\n",
                step, static_cast<unsigned long>(hr));
  debug_.Write(line);
}

void ComAddinConnection::Connect(IDispatch* application) noexcept {
  if (addin_ != nullptr) return;
  if (application == nullptr) {
    Report("no Excel Application to connect it through", E_POINTER);
    return;
  }
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module_, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    Report("the add-in's path is unknown", HRESULT_FROM_WIN32(GetLastError()));
    return;
  }
  const LONG written = WriteComAddinKeys(std::wstring(path, length));
  if (written != ERROR_SUCCESS) {
    Report("its registry keys cannot be written", HRESULT_FROM_WIN32(written));
    return;
  }
  keysWritten_ = true;
  CLSID classId;
  HRESULT hr = ClassId(&classId);
  if (SUCCEEDED(hr)) {
    hr = CoRegisterClassObject(classId, &factory_, CLSCTX_INPROC_SERVER,
                               REGCLS_MULTIPLEUSE, &classCookie_);
  }
  if (FAILED(hr)) {
    Withdraw();
    Report("its class cannot be registered", hr);
    return;
  }
  classRegistered_ = true;

  Variant answer;
  hr = Call(application, L"COMAddIns", DISPATCH_PROPERTYGET, nullptr,
            answer.get());
  const DispatchOwner addins = TakeObject(answer);
  if (addins == nullptr) {
    Withdraw();
    Report("Excel has no COMAddIns", FAILED(hr) ? hr : E_NOINTERFACE);
    return;
  }
  // Excel reads the add-ins' keys at start and at Update only.
  hr = Call(addins.get(), L"Update", DISPATCH_METHOD, nullptr, nullptr);
  DispatchOwner addin;
  if (SUCCEEDED(hr)) {
    Variant progId;
    progId->vt = VT_BSTR;
    progId->bstrVal = SysAllocString(Wide(kRibbonProgId).c_str());
    Variant item;
    hr = progId->bstrVal == nullptr
             ? E_OUTOFMEMORY
             : Call(addins.get(), L"Item",
                    DISPATCH_METHOD | DISPATCH_PROPERTYGET, progId.get(),
                    item.get());
    addin = TakeObject(item);
    if (SUCCEEDED(hr) && addin == nullptr) hr = E_NOINTERFACE;
  }
  if (addin == nullptr) {
    Withdraw();
    Report("Excel does not list it among its COM add-ins", hr);
    return;
  }
  hr = PutConnect(addin.get(), true);
  if (FAILED(hr)) {
    Withdraw();
    Report("Excel refused to connect it", hr);
    return;
  }
  addin_ = std::move(addin);
}

void ComAddinConnection::Disconnect() noexcept {
  if (addin_ != nullptr) {
    // Excel calls OnDisconnection, after which the object lets go of the
    // Application; a refusal here changes nothing of what follows.
    PutConnect(addin_.get(), false);
    addin_.reset();
  }
  Withdraw();
}

void ComAddinConnection::Withdraw() noexcept {
  if (classRegistered_) CoRevokeClassObject(classCookie_);
  classRegistered_ = false;
  if (keysWritten_) RemoveComAddinKeys();
  keysWritten_ = false;
}

}  // namespace marrowfield
