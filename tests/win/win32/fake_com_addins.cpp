// The add-in manager's objects are plain IDispatch objects owned by the
// manager; their references are counted so that a test can see each one
// given back. The Office interfaces are the add-in's declarations of them.

#include "win32/fake_com_addins.h"

#include <objbase.h>
#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>

#include <cwchar>
#include <string>

#include "fake_xlcall32.h"
#include "office_addin_interfaces.h"

namespace marrowfield {
namespace {

constexpr wchar_t kAddinsKey[] = L"Software\\Microsoft\\Office\\Excel\\Addins";
constexpr DISPID kComAddIns = 0x060C;
constexpr DISPID kRun = 0x0103;
// Excel's error for a Run it cannot do (its 1004).
constexpr HRESULT kExcelRunError = static_cast<HRESULT>(0x800A03ECu);

std::string Narrow(const wchar_t* wide) {
  std::string text;
  for (; wide != nullptr && *wide != 0; ++wide) {
    text += static_cast<char>(*wide < 128 ? *wide : '?');
  }
  return text;
}

std::wstring Widen(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

bool SameName(const std::wstring& a, const wchar_t* b) {
  return _wcsicmp(a.c_str(), b) == 0;
}

void Raise(EXCEPINFO* exception, HRESULT code, const std::string& text) {
  if (exception == nullptr) return;
  *exception = EXCEPINFO{};
  exception->scode = code;
  exception->bstrSource = SysAllocString(L"Microsoft Excel");
  exception->bstrDescription = SysAllocString(Widen(text).c_str());
}

// The last argument first, as automation passes them.
const VARIANT* Argument(const DISPPARAMS* parameters, UINT index) {
  if (parameters == nullptr || index >= parameters->cArgs) return nullptr;
  return &parameters->rgvarg[parameters->cArgs - 1 - index];
}

bool PutValue(const DISPPARAMS* parameters) {
  return parameters != nullptr && parameters->cArgs == 1 &&
         parameters->cNamedArgs == 1 &&
         parameters->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
}

SAFEARRAY* EmptyCustom() {
  SAFEARRAYBOUND bound = {0, 0};
  return SafeArrayCreate(VT_VARIANT, 1, &bound);
}

}  // namespace

// The members every object of the manager shares: counted references, no
// type information, names looked up in a fixed table.
class FakeComAddins::Dispatch : public IDispatch {
 public:
  struct Member {
    const wchar_t* name;
    DISPID id;
  };
  Dispatch(FakeComAddins& owner, std::vector<Member> members)
      : owner_(owner), members_(std::move(members)) {}
  virtual ~Dispatch() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || Also(iid)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    ++owner_.outstanding_;
    return static_cast<ULONG>(++references_);
  }
  ULONG STDMETHODCALLTYPE Release() override {
    --owner_.outstanding_;
    return static_cast<ULONG>(--references_);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count != nullptr) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count,
                                          LCID, DISPID* ids) override {
    if (names == nullptr || ids == nullptr || count != 1) return E_INVALIDARG;
    for (const Member& member : members_) {
      if (SameName(names[0], member.name)) {
        *ids = member.id;
        return S_OK;
      }
    }
    *ids = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }

 protected:
  virtual bool Also(REFIID) const { return false; }
  FakeComAddins& owner_;

 private:
  std::vector<Member> members_;
  long references_ = 0;
};

// One COMAddIn: Connect (get, put), ProgId, Description.
class FakeComAddins::Entry : public Dispatch {
 public:
  Entry(FakeComAddins& owner, std::string progId)
      : Dispatch(owner, {{L"Connect", 1}, {L"ProgId", 2}, {L"Description", 3}}),
        progId_(std::move(progId)) {}

  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO* exception, UINT*) override {
    if (result != nullptr) VariantInit(result);
    Listed& addin = owner_.addins_.at(progId_);
    if (member == 1 && (flags & DISPATCH_PROPERTYPUT) != 0) {
      if (!PutValue(parameters)) return DISP_E_PARAMNOTOPTIONAL;
      VARIANT value;
      VariantInit(&value);
      if (FAILED(
              VariantChangeType(&value, &parameters->rgvarg[0], 0, VT_BOOL))) {
        return DISP_E_TYPEMISMATCH;
      }
      const bool on = value.boolVal != VARIANT_FALSE;
      if (on && addin.object == nullptr) {
        const HRESULT hr = owner_.ConnectAddin(progId_, addin);
        if (FAILED(hr)) {
          Raise(exception, hr, "The add-in could not be connected");
          return DISP_E_EXCEPTION;
        }
      } else if (!on && addin.object != nullptr) {
        owner_.DisconnectAddin(addin, kExtDisconnectUserClosed);
      }
      return S_OK;
    }
    if ((flags & DISPATCH_PROPERTYGET) == 0) return DISP_E_MEMBERNOTFOUND;
    if (result == nullptr) return S_OK;
    switch (member) {
      case 1:
        result->vt = VT_BOOL;
        result->boolVal =
            addin.object != nullptr ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
      case 2:
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(Widen(progId_).c_str());
        return S_OK;
      case 3:
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(Widen(addin.description).c_str());
        return S_OK;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  std::string progId_;
};

// Application.COMAddIns: Item(ProgID or 1-based index), Count, Update.
class FakeComAddins::Collection : public Dispatch {
 public:
  explicit Collection(FakeComAddins& owner)
      : Dispatch(owner, {{L"Item", 0}, {L"Count", 1}, {L"Update", 2}}) {}

  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO* exception, UINT*) override {
    if (result != nullptr) VariantInit(result);
    switch (member) {
      case 0: {
        if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) {
          return DISP_E_MEMBERNOTFOUND;
        }
        const VARIANT* index = Argument(parameters, 0);
        if (index == nullptr || parameters->cArgs != 1) {
          return DISP_E_BADPARAMCOUNT;
        }
        Entry* entry = owner_.Find(*index);
        if (entry == nullptr) {
          Raise(exception, DISP_E_BADINDEX, "Subscript out of range");
          return DISP_E_EXCEPTION;
        }
        if (result != nullptr) {
          result->vt = VT_DISPATCH;
          result->pdispVal = static_cast<IDispatch*>(entry);
          result->pdispVal->AddRef();
        }
        return S_OK;
      }
      case 1: {
        if ((flags & DISPATCH_PROPERTYGET) == 0) return DISP_E_MEMBERNOTFOUND;
        long count = 0;
        for (const auto& addin : owner_.addins_) count += addin.second.listed;
        if (result != nullptr) {
          result->vt = VT_I4;
          result->lVal = count;
        }
        return S_OK;
      }
      case 2:
        if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
        owner_.ReadRegistry();
        return S_OK;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }
};

// The control Excel passes a callback: its Id and Tag, no Context.
class FakeComAddins::Control : public IRibbonControl {
 public:
  Control(FakeComAddins& owner, const CustomUiControl& control)
      : owner_(owner), control_(control) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch ||
        iid == kIidRibbonControl) {
      *out = static_cast<IRibbonControl*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    ++owner_.outstanding_;
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    --owner_.outstanding_;
    return 1;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count != nullptr) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count,
                                          LCID, DISPID* ids) override {
    if (names == nullptr || ids == nullptr || count != 1) return E_INVALIDARG;
    const std::wstring name = names[0];
    *ids = SameName(name, L"Id")    ? 1
           : SameName(name, L"Tag") ? 3
                                    : DISPID_UNKNOWN;
    return *ids == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags,
                                   DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                   UINT*) override {
    if ((flags & DISPATCH_PROPERTYGET) == 0 || result == nullptr) {
      return DISP_E_MEMBERNOTFOUND;
    }
    VariantInit(result);
    result->vt = VT_BSTR;
    if (member == 1) return get_Id(&result->bstrVal);
    if (member == 3) return get_Tag(&result->bstrVal);
    result->vt = VT_EMPTY;
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE get_Id(BSTR* id) override {
    if (id == nullptr) return E_POINTER;
    *id = SysAllocString(Widen(Attribute("id")).c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Context(IDispatch** context) override {
    if (context == nullptr) return E_POINTER;
    *context = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Tag(BSTR* tag) override {
    if (tag == nullptr) return E_POINTER;
    *tag = SysAllocString(Widen(Attribute("tag")).c_str());
    return S_OK;
  }

 private:
  std::string Attribute(const char* name) const {
    const auto found = control_.attributes.find(name);
    return found == control_.attributes.end() ? std::string() : found->second;
  }
  FakeComAddins& owner_;
  CustomUiControl control_;
};

FakeComAddins::FakeComAddins(ComFakeExcel& excel, int process)
    : excel_(excel),
      process_(process),
      collection_(std::make_unique<Collection>(*this)) {
  ReadRegistry();
  excel_.SetApplicationExtension(this);
}

FakeComAddins::~FakeComAddins() {
  excel_.SetApplicationExtension(nullptr);
  for (auto& addin : addins_) {
    if (addin.second.object != nullptr) {
      DisconnectAddin(addin.second, kExtDisconnectHostShutdown);
    }
  }
}

bool FakeComAddins::Connected(const std::string& progId) const {
  const auto found = addins_.find(progId);
  return found != addins_.end() && found->second.object != nullptr;
}

void FakeComAddins::ReadRegistry() {
  for (auto& addin : addins_) addin.second.listed = false;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kAddinsKey, 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return;
  }
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr,
                      nullptr) != ERROR_SUCCESS) {
      break;
    }
    const std::string progId = Narrow(name);
    Listed& addin = addins_[progId];
    if (addin.entry == nullptr) {
      addin.entry = std::make_unique<Entry>(*this, progId);
    }
    addin.listed = true;
    wchar_t text[512] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    if (RegGetValueW(key, name, L"Description", RRF_RT_REG_SZ, nullptr, text,
                     &size) == ERROR_SUCCESS) {
      addin.description = Narrow(text);
    }
  }
  RegCloseKey(key);
}

FakeComAddins::Entry* FakeComAddins::Find(const VARIANT& index) {
  if (index.vt == VT_BSTR) {
    for (auto& addin : addins_) {
      if (addin.second.listed && SameName(Widen(addin.first), index.bstrVal)) {
        return addin.second.entry.get();
      }
    }
    return nullptr;
  }
  VARIANT number;
  VariantInit(&number);
  if (FAILED(
          VariantChangeType(&number, const_cast<VARIANT*>(&index), 0, VT_I4)))
    return nullptr;
  long position = 0;
  for (auto& addin : addins_) {
    if (addin.second.listed && ++position == number.lVal) {
      return addin.second.entry.get();
    }
  }
  return nullptr;
}

HRESULT FakeComAddins::ConnectAddin(const std::string& progId, Listed& addin) {
  if (FAILED(refusal_)) return refusal_;
  wchar_t text[64] = {};
  DWORD size = sizeof(text) - sizeof(wchar_t);
  const std::wstring classKey =
      L"Software\\Classes\\" + Widen(progId) + L"\\CLSID";
  if (RegGetValueW(HKEY_CURRENT_USER, classKey.c_str(), nullptr, RRF_RT_REG_SZ,
                   nullptr, text, &size) != ERROR_SUCCESS) {
    return REGDB_E_CLASSNOTREG;
  }
  CLSID classId;
  HRESULT hr = CLSIDFromString(text, &classId);
  if (FAILED(hr)) return hr;
  IUnknown* object = nullptr;
  hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                        reinterpret_cast<void**>(&object));
  if (FAILED(hr)) return hr;
  IDTExtensibility2* extensibility = nullptr;
  hr = object->QueryInterface(kIidDTExtensibility2,
                              reinterpret_cast<void**>(&extensibility));
  if (FAILED(hr)) {
    object->Release();
    return hr;
  }
  SAFEARRAY* custom = EmptyCustom();
  IDispatch* application =
      excel_.Dispatch(excel_.model().ApplicationObject(process_));
  hr = extensibility->OnConnection(application, kExtConnectAfterStartup,
                                   addin.entry.get(), &custom);
  SafeArrayDestroy(custom);
  extensibility->Release();
  if (FAILED(hr)) {
    object->Release();
    return hr;
  }
  ++connections_;
  addin.object = object;
  ribbon_ = CustomUiCheck{};

  // The ribbon: an add-in need not have one.
  IRibbonExtensibility* ribbon = nullptr;
  if (FAILED(object->QueryInterface(kIidRibbonExtensibility,
                                    reinterpret_cast<void**>(&ribbon)))) {
    return S_OK;
  }
  BSTR id = SysAllocString(L"Microsoft.Excel.Workbook");
  BSTR xml = nullptr;
  hr = ribbon->GetCustomUI(id, &xml);
  SysFreeString(id);
  ribbon->Release();
  if (FAILED(hr) || xml == nullptr) {
    problems_.push_back(progId + ": GetCustomUI failed");
    SysFreeString(xml);
    return S_OK;
  }
  std::string markup;
  for (UINT i = 0; i < SysStringLen(xml); ++i) {
    markup += static_cast<char>(xml[i] < 128 ? xml[i] : '?');
  }
  SysFreeString(xml);
  ribbon_ = CheckCustomUi(markup);
  if (!ribbon_.accepted) {
    problems_.push_back(progId + ": " + ribbon_.problem);
    return S_OK;
  }
  if (FAILED(object->QueryInterface(
          IID_IDispatch, reinterpret_cast<void**>(&addin.callbacks)))) {
    problems_.push_back(progId + ": no IDispatch for the callbacks");
    return S_OK;
  }
  for (const std::string& name : ribbon_.callbacks) {
    std::wstring wide = Widen(name);
    LPOLESTR names[] = {&wide[0]};
    DISPID member = DISPID_UNKNOWN;
    if (FAILED(addin.callbacks->GetIDsOfNames(IID_NULL, names, 1,
                                              LOCALE_USER_DEFAULT, &member))) {
      problems_.push_back(progId + ": unknown callback " + name);
    }
  }
  // Showing the tab, Excel fetches each control's image.
  for (const CustomUiControl& control : ribbon_.controls) {
    const auto getImage = control.attributes.find("getImage");
    if (getImage == control.attributes.end()) continue;
    VARIANT image;
    VariantInit(&image);
    hr = Callback(addin.callbacks, getImage->second, control, &image);
    IPicture* picture = nullptr;
    short type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (SUCCEEDED(hr) && (image.vt == VT_DISPATCH || image.vt == VT_UNKNOWN) &&
        image.punkVal != nullptr &&
        SUCCEEDED(image.punkVal->QueryInterface(
            IID_IPicture, reinterpret_cast<void**>(&picture)))) {
      picture->get_Type(&type);
      picture->get_Handle(&handle);
      picture->Release();
    }
    VariantClear(&image);
    if (type == PICTYPE_BITMAP && handle != 0) {
      ++images_;
    } else {
      problems_.push_back(progId + ": no bitmap picture from " +
                          getImage->second);
    }
  }
  return S_OK;
}

void FakeComAddins::DisconnectAddin(Listed& addin, int mode) {
  IDTExtensibility2* extensibility = nullptr;
  if (SUCCEEDED(addin.object->QueryInterface(
          kIidDTExtensibility2, reinterpret_cast<void**>(&extensibility)))) {
    SAFEARRAY* custom = EmptyCustom();
    if (mode == kExtDisconnectHostShutdown) {
      extensibility->OnBeginShutdown(&custom);
    }
    extensibility->OnDisconnection(static_cast<ExtDisconnectMode>(mode),
                                   &custom);
    SafeArrayDestroy(custom);
    extensibility->Release();
  }
  ++disconnections_;
  if (addin.callbacks != nullptr) addin.callbacks->Release();
  addin.callbacks = nullptr;
  addin.object->Release();
  addin.object = nullptr;
}

HRESULT FakeComAddins::Callback(IDispatch* object, const std::string& name,
                                const CustomUiControl& control,
                                VARIANT* result) {
  std::wstring wide = Widen(name);
  LPOLESTR names[] = {&wide[0]};
  DISPID member = DISPID_UNKNOWN;
  HRESULT hr =
      object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
  if (FAILED(hr)) return hr;
  Control argument(*this, control);
  VARIANT passed;
  VariantInit(&passed);
  passed.vt = VT_DISPATCH;
  passed.pdispVal = static_cast<IRibbonControl*>(&argument);
  DISPPARAMS parameters = {&passed, nullptr, 1, 0};
  EXCEPINFO exception = {};
  hr = object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                      &parameters, result, &exception, nullptr);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return hr;
}

HRESULT FakeComAddins::Press(const std::string& id) {
  for (auto& addin : addins_) {
    if (addin.second.callbacks == nullptr || !ribbon_.accepted) continue;
    for (const CustomUiControl& control : ribbon_.controls) {
      const auto found = control.attributes.find("id");
      const auto action = control.attributes.find("onAction");
      if (control.element != "button" || found == control.attributes.end() ||
          found->second != id || action == control.attributes.end()) {
        continue;
      }
      VARIANT result;
      VariantInit(&result);
      const HRESULT hr =
          Callback(addin.second.callbacks, action->second, control, &result);
      VariantClear(&result);
      return hr;
    }
  }
  return E_FAIL;
}

HRESULT FakeComAddins::Run(const std::string& name, VARIANT* result,
                           EXCEPINFO* exception) {
  runs_.push_back(name);
  bool disabled = false;
  for (const std::string& d : disabled_) {
    disabled = disabled || _stricmp(d.c_str(), name.c_str()) == 0;
  }
  for (int i = 0; !disabled && i < fake_xl_registration_count(); ++i) {
    if (!fake_xl_registration_active(i) ||
        _stricmp(fake_xl_registration_text(i, 3), name.c_str()) != 0) {
      continue;
    }
    HMODULE module = GetModuleHandleA(fake_xl_registration_text(i, 0));
    using Command = int(WINAPI*)();
    const auto command =
        module == nullptr
            ? nullptr
            : reinterpret_cast<Command>(reinterpret_cast<void*>(
                  GetProcAddress(module, fake_xl_registration_text(i, 1))));
    if (command == nullptr) break;
    const int answer = command();
    if (result != nullptr) {
      result->vt = VT_BOOL;
      result->boolVal = answer != 0 ? VARIANT_TRUE : VARIANT_FALSE;
    }
    return S_OK;
  }
  Raise(exception, kExcelRunError,
        "Cannot run the macro '" + name +
            "'. The macro may not be available in this workbook or all "
            "macros may be disabled.");
  return DISP_E_EXCEPTION;
}

bool FakeComAddins::IdOfName(const std::wstring& name, DISPID* member) {
  if (SameName(name, L"Run")) {
    *member = kRun;
    return true;
  }
  if (!hidden_ && SameName(name, L"COMAddIns")) {
    *member = kComAddIns;
    return true;
  }
  return false;
}

bool FakeComAddins::Invoke(DISPID member, WORD flags, DISPPARAMS* parameters,
                           VARIANT* result, EXCEPINFO* exception, HRESULT* hr) {
  if (member == kComAddIns && !hidden_) {
    if (result != nullptr) VariantInit(result);
    if ((flags & DISPATCH_PROPERTYGET) == 0 || result == nullptr) {
      *hr = DISP_E_MEMBERNOTFOUND;
      return true;
    }
    result->vt = VT_DISPATCH;
    result->pdispVal = collection_.get();
    collection_->AddRef();
    *hr = S_OK;
    return true;
  }
  if (member != kRun) return false;
  if (result != nullptr) VariantInit(result);
  const VARIANT* macro = Argument(parameters, 0);
  if ((flags & DISPATCH_METHOD) == 0) {
    *hr = DISP_E_MEMBERNOTFOUND;
  } else if (macro == nullptr || macro->vt != VT_BSTR) {
    *hr = DISP_E_TYPEMISMATCH;
  } else {
    *hr = Run(Narrow(macro->bstrVal), result, exception);
  }
  return true;
}

}  // namespace marrowfield
