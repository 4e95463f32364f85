// The registration and the connection, in raw IDispatch calls on the
// Application Excel handed the bridge.

#include "com_addin_registration.h"

#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

#include "debug_output.h"
#include "ribbon_ui.h"

namespace marrowfield {
namespace {

std::wstring Wide(const std::string& text) {
  std::wstring wide;
  for (char c : text)
    wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return wide;  // the names and texts are ASCII
}

LONG SetText(HKEY root, const std::string& key, const wchar_t* name,
             const std::wstring& value) {
  HKEY opened = nullptr;
  LONG status = RegCreateKeyExW(root, Wide(key).c_str(), 0, nullptr, 0,
                                KEY_SET_VALUE, nullptr, &opened, nullptr);
  if (status != ERROR_SUCCESS) return status;
  status = RegSetValueExW(
      opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(opened);
  return status;
}

LONG SetNumber(HKEY root, const std::string& key, const wchar_t* name,
               DWORD value) {
  HKEY opened = nullptr;
  LONG status = RegCreateKeyExW(root, Wide(key).c_str(), 0, nullptr, 0,
                                KEY_SET_VALUE, nullptr, &opened, nullptr);
  if (status != ERROR_SUCCESS) return status;
  status = RegSetValueExW(opened, name, 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(opened);
  return status;
}

// One call of |name| on |object|; |argument| is passed when it is not
// VT_EMPTY. A property put names its value as automation requires.
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
  if (argument != nullptr && argument->vt != VT_EMPTY) {
    parameters.rgvarg = argument;
    parameters.cArgs = 1;
  }
  if (kind == DISPATCH_PROPERTYPUT) {
    parameters.rgdispidNamedArgs = &named;
    parameters.cNamedArgs = 1;
  }
  EXCEPINFO exception = {};
  if (result != nullptr) VariantInit(result);
  hr = object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters,
                      result, &exception, nullptr);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  if (hr == DISP_E_EXCEPTION && FAILED(exception.scode)) hr = exception.scode;
  return hr;
}

// The object a call answered with, with its reference; null otherwise.
IDispatch* ObjectOf(VARIANT& value) {
  IDispatch* object = nullptr;
  if (value.vt == VT_DISPATCH && value.pdispVal != nullptr) {
    object = value.pdispVal;
    object->AddRef();
  }
  VariantClear(&value);
  return object;
}

HRESULT ClassId(CLSID* classId) {
  std::wstring text = Wide(kRibbonClassText);
  return CLSIDFromString(&text[0], classId);
}

}  // namespace

LONG WriteComAddinKeys(const std::wstring& modulePath) noexcept {
  try {
    const std::wstring progId = Wide(kRibbonProgId);
    const std::wstring classText = Wide(kRibbonClassText);
    const std::wstring friendly = Wide(kRibbonFriendlyName);
    const std::string classKey = RibbonClassKey();
    const std::string addinKey = RibbonAddinKey();
    LONG status = ERROR_SUCCESS;
    const auto step = [&status](LONG result) {
      if (status == ERROR_SUCCESS) status = result;
    };
    step(SetText(HKEY_CURRENT_USER, RibbonProgIdKey(), nullptr, friendly));
    step(SetText(HKEY_CURRENT_USER, RibbonProgIdKey() + "\\CLSID", nullptr,
                 classText));
    step(SetText(HKEY_CURRENT_USER, classKey, nullptr, friendly));
    step(SetText(HKEY_CURRENT_USER, classKey + "\\ProgID", nullptr, progId));
    // The server is the XLL. Its class object is registered while the XLL
    // is open; a process that has no XLL open finds no entry point to load
    // and gets an error, never a crash.
    step(SetText(HKEY_CURRENT_USER, classKey + "\\InprocServer32", nullptr,
                 modulePath));
    step(SetText(HKEY_CURRENT_USER, classKey + "\\InprocServer32",
                 L"ThreadingModel", L"Apartment"));
    step(SetText(HKEY_CURRENT_USER, addinKey, L"FriendlyName", friendly));
    step(SetText(HKEY_CURRENT_USER, addinKey, L"Description",
                 Wide(kRibbonDescription)));
    // 0: Excel does not load it by itself; the XLL connects it when open.
    step(SetNumber(HKEY_CURRENT_USER, addinKey, L"LoadBehavior", 0));
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

  VARIANT answer;
  hr = Call(application, L"COMAddIns", DISPATCH_PROPERTYGET, nullptr, &answer);
  IDispatch* addins = SUCCEEDED(hr) ? ObjectOf(answer) : nullptr;
  if (addins == nullptr) {
    Withdraw();
    Report("Excel has no COMAddIns", FAILED(hr) ? hr : E_NOINTERFACE);
    return;
  }
  // Excel reads the add-ins' keys at start and at Update only.
  hr = Call(addins, L"Update", DISPATCH_METHOD, nullptr, nullptr);
  IDispatch* addin = nullptr;
  if (SUCCEEDED(hr)) {
    VARIANT progId;
    VariantInit(&progId);
    progId.vt = VT_BSTR;
    progId.bstrVal = SysAllocString(Wide(kRibbonProgId).c_str());
    hr = Call(addins, L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, &progId,
              &answer);
    VariantClear(&progId);
    if (SUCCEEDED(hr)) addin = ObjectOf(answer);
    if (SUCCEEDED(hr) && addin == nullptr) hr = E_NOINTERFACE;
  }
  addins->Release();
  if (addin == nullptr) {
    Withdraw();
    Report("Excel does not list it among its COM add-ins", hr);
    return;
  }
  VARIANT on;
  VariantInit(&on);
  on.vt = VT_BOOL;
  on.boolVal = VARIANT_TRUE;
  hr = Call(addin, L"Connect", DISPATCH_PROPERTYPUT, &on, nullptr);
  if (FAILED(hr)) {
    addin->Release();
    Withdraw();
    Report("Excel refused to connect it", hr);
    return;
  }
  addin_ = addin;
}

void ComAddinConnection::Disconnect() noexcept {
  if (addin_ != nullptr) {
    VARIANT off;
    VariantInit(&off);
    off.vt = VT_BOOL;
    off.boolVal = VARIANT_FALSE;
    // Excel calls OnDisconnection, after which the object lets go of the
    // Application; a refusal here changes nothing of what follows.
    Call(addin_, L"Connect", DISPATCH_PROPERTYPUT, &off, nullptr);
    IDispatch* addin = addin_;
    addin_ = nullptr;
    addin->Release();
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
