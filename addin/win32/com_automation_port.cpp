// The automation port over real COM. Interface pointers other than the
// IDispatch references handed to the bridge live in ComRef, which releases
// them once; arguments are passed to Invoke in reverse order, as automation
// requires, and every VARIANT made here is cleared here.

#include "com_automation_port.h"

#include <objbase.h>
#include <ole2.h>
#include <oleauto.h>
#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

#include "variant_conversion.h"

namespace marrowfield {
namespace {

static_assert(sizeof(ClassId) == sizeof(CLSID), "ClassId is a GUID");

// One owned COM interface reference.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  void Reset() {
    Interface* held = pointer_;
    pointer_ = nullptr;
    if (held != nullptr) held->Release();
  }
  Interface** Out() {
    Reset();
    return &pointer_;
  }
  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

class ComMoniker : public Moniker {
 public:
  ComRef<IMoniker> moniker;
};

class ComRunningObjects : public RunningObjects {
 public:
  ~ComRunningObjects() override {
    // Released in the order enumerator, table, bind context.
    enumerator.Reset();
    table.Reset();
    bindContext.Reset();
  }

  HResult Next(std::unique_ptr<Moniker>* moniker) noexcept override {
    try {
      auto next = std::make_unique<ComMoniker>();
      ULONG fetched = 0;
      const HRESULT hr = enumerator->Next(1, next->moniker.Out(), &fetched);
      if (hr != S_OK || fetched != 1) return hr == S_OK ? S_FALSE : hr;
      *moniker = std::move(next);
      return S_OK;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }

  HResult Bind(Moniker& moniker, DispatchRef* object) noexcept override {
    IMoniker* named = static_cast<ComMoniker&>(moniker).moniker.get();
    if (named == nullptr) return E_POINTER;
    void* bound = nullptr;
    const HRESULT hr =
        named->BindToObject(bindContext.get(), nullptr, IID_IDispatch, &bound);
    if (FAILED(hr)) return hr;
    *object = DispatchRef(*port, static_cast<IDispatch*>(bound));
    return S_OK;
  }

  AutomationPort* port = nullptr;
  ComRef<IBindCtx> bindContext;
  ComRef<IRunningObjectTable> table;
  ComRef<IEnumMoniker> enumerator;
};

void TakeException(EXCEPINFO* info, InvokeException* exception) {
  if (info->pfnDeferredFillIn != nullptr) info->pfnDeferredFillIn(info);
  if (exception != nullptr) {
    exception->code = info->scode != 0 ? info->scode : info->wCode;
    exception->source =
        WideToAnsi(info->bstrSource, SysStringLen(info->bstrSource));
    exception->description =
        WideToAnsi(info->bstrDescription, SysStringLen(info->bstrDescription));
  }
  SysFreeString(info->bstrSource);
  SysFreeString(info->bstrDescription);
  SysFreeString(info->bstrHelpFile);
}

}  // namespace

HResult ComAutomationPort::InitializeOle() noexcept {
  return OleInitialize(nullptr);
}

void ComAutomationPort::UninitializeOle() noexcept { OleUninitialize(); }

uint64_t ComAutomationPort::TickMs() noexcept { return GetTickCount64(); }

void ComAutomationPort::SleepMs(uint32_t milliseconds) noexcept {
  Sleep(milliseconds);
}

HResult ComAutomationPort::ClassIdFromProgId(const std::string& progId,
                                             ClassId* classId) noexcept {
  try {
    std::wstring wide;
    if (!AnsiToWide(progId, &wide)) return E_INVALIDARG;
    CLSID clsid;
    // A text in braces is the class identifier itself.
    const HRESULT hr = wide.compare(0, 1, L"{") == 0
                           ? CLSIDFromString(wide.c_str(), &clsid)
                           : CLSIDFromProgID(wide.c_str(), &clsid);
    if (SUCCEEDED(hr)) {
      classId->data1 = clsid.Data1;
      classId->data2 = clsid.Data2;
      classId->data3 = clsid.Data3;
      std::memcpy(classId->data4, clsid.Data4, sizeof(clsid.Data4));
    }
    return hr;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HResult ComAutomationPort::GetActiveObject(const ClassId& classId,
                                           DispatchRef* object) noexcept {
  CLSID clsid;
  clsid.Data1 = classId.data1;
  clsid.Data2 = classId.data2;
  clsid.Data3 = classId.data3;
  std::memcpy(clsid.Data4, classId.data4, sizeof(clsid.Data4));
  ComRef<IUnknown> active;
  HRESULT hr = ::GetActiveObject(clsid, nullptr, active.Out());
  if (FAILED(hr)) return hr;
  if (active.get() == nullptr) return E_POINTER;
  void* dispatch = nullptr;
  hr = active->QueryInterface(IID_IDispatch, &dispatch);
  if (FAILED(hr)) return hr;
  *object = DispatchRef(*this, static_cast<IDispatch*>(dispatch));
  return S_OK;
}

HResult ComAutomationPort::GetIdOfName(IDispatch* object,
                                       const std::string& name, uint32_t locale,
                                       DispId* member) noexcept {
  if (object == nullptr) return E_POINTER;
  try {
    std::wstring wide;
    if (!AnsiToWide(name, &wide)) return E_INVALIDARG;
    LPOLESTR names[] = {&wide[0]};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, locale, &id);
    if (SUCCEEDED(hr)) *member = id;
    return hr;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HResult ComAutomationPort::Invoke(IDispatch* object,
                                  const InvokeRequest& request,
                                  AutomationValue* result,
                                  InvokeException* exception,
                                  uint32_t* argumentError) noexcept {
  if (result != nullptr) *result = AutomationValue();
  if (object == nullptr) return E_POINTER;
  try {
    const size_t count = request.arguments.size();
    std::vector<VARIANTARG> arguments(count);
    // The arguments' variants are cleared whatever happens below.
    struct Clear {
      std::vector<VARIANTARG>& variants;
      ~Clear() {
        for (VARIANTARG& v : variants) VariantClear(&v);
      }
    } clear{arguments};
    for (VARIANTARG& v : arguments) VariantInit(&v);
    for (size_t i = 0; i < count; ++i) {
      const HRESULT hr =
          ToVariant(request.arguments[i], &arguments[count - 1 - i]);
      if (FAILED(hr)) return hr;
    }
    DISPPARAMS parameters{count ? arguments.data() : nullptr, nullptr,
                          static_cast<UINT>(count), 0};
    // Automation wants the value of a property put named as such.
    DISPID putName = DISPID_PROPERTYPUT;
    if (request.kind == InvokeKind::kPropertyPut) {
      parameters.rgdispidNamedArgs = &putName;
      parameters.cNamedArgs = 1;
    }
    VARIANT answer;
    VariantInit(&answer);
    EXCEPINFO info{};
    UINT badArgument = 0;
    const HRESULT hr =
        object->Invoke(request.member, IID_NULL, request.locale,
                       static_cast<WORD>(request.kind), &parameters,
                       result != nullptr ? &answer : nullptr,
                       exception != nullptr ? &info : nullptr,
                       argumentError != nullptr ? &badArgument : nullptr);
    if (exception != nullptr) TakeException(&info, exception);
    if (argumentError != nullptr) *argumentError = badArgument;
    if (result != nullptr) {
      AutomationValue value = TakeVariant(*this, &answer);
      if (SUCCEEDED(hr)) *result = std::move(value);
    }
    return hr;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HResult ComAutomationPort::OpenRunningObjects(
    std::unique_ptr<RunningObjects>* table) noexcept {
  try {
    auto walk = std::make_unique<ComRunningObjects>();
    walk->port = this;
    HRESULT hr = CreateBindCtx(0, walk->bindContext.Out());
    if (FAILED(hr)) return hr;
    hr = walk->bindContext->GetRunningObjectTable(walk->table.Out());
    if (FAILED(hr)) return hr;
    hr = walk->table->EnumRunning(walk->enumerator.Out());
    if (FAILED(hr)) return hr;
    if (walk->enumerator.get() == nullptr) return E_POINTER;
    hr = walk->enumerator->Reset();
    if (FAILED(hr)) return hr;
    *table = std::move(walk);
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

void ComAutomationPort::Release(IDispatch* object) noexcept {
  if (object != nullptr) object->Release();
}

HResult ComAutomationPort::CreateInstance(const ClassId& classId,
                                          uint32_t contexts,
                                          DispatchRef* object) noexcept {
  CLSID clsid;
  clsid.Data1 = classId.data1;
  clsid.Data2 = classId.data2;
  clsid.Data3 = classId.data3;
  std::memcpy(clsid.Data4, classId.data4, sizeof(clsid.Data4));
  ComRef<IUnknown> created;
  HRESULT hr =
      CoCreateInstance(clsid, nullptr, contexts, IID_IUnknown,
                       reinterpret_cast<void**>(created.Out()));
  if (FAILED(hr)) return hr;
  if (created.get() == nullptr) return E_POINTER;
  // A local server may still be starting; OleRun waits until it runs.
  hr = OleRun(created.get());
  if (FAILED(hr)) return hr;
  void* dispatch = nullptr;
  hr = created->QueryInterface(IID_IDispatch, &dispatch);
  if (FAILED(hr)) return hr;
  *object = DispatchRef(*this, static_cast<IDispatch*>(dispatch));
  return S_OK;
}

bool ComAutomationPort::SystemMessage(HResult hr, std::string* text) noexcept {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
      reinterpret_cast<char*>(&buffer), 0, nullptr);
  if (buffer == nullptr) return false;
  bool found = false;
  try {
    text->assign(buffer, length);
    found = length > 0;
  } catch (...) {
  }
  LocalFree(buffer);
  return found;
}

bool ComAutomationPort::TakeErrorInfo(IDispatch* object, std::string* source,
                                      std::string* description) noexcept {
  if (object == nullptr) return false;
  ComRef<ISupportErrorInfo> support;
  if (FAILED(object->QueryInterface(IID_ISupportErrorInfo,
                                    reinterpret_cast<void**>(support.Out()))) ||
      support.get() == nullptr ||
      support->InterfaceSupportsErrorInfo(IID_IDispatch) != S_OK) {
    return false;
  }
  ComRef<IErrorInfo> info;
  if (GetErrorInfo(0, info.Out()) != S_OK || info.get() == nullptr) {
    return false;
  }
  BSTR sourceText = nullptr;
  BSTR descriptionText = nullptr;
  info->GetSource(&sourceText);
  info->GetDescription(&descriptionText);
  bool taken = false;
  try {
    *source = WideToAnsi(sourceText, SysStringLen(sourceText));
    *description = WideToAnsi(descriptionText, SysStringLen(descriptionText));
    taken = true;
  } catch (...) {
  }
  SysFreeString(sourceText);
  SysFreeString(descriptionText);
  return taken;
}

}  // namespace marrowfield
