// The add-in object. It owns one reference to the Application from
// OnConnection until OnDisconnection (or its own end), and nothing else.

#include "ribbon_addin.h"

#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>

#include <atomic>
#include <cstdio>
#include <new>
#include <string>

#include "debug_output.h"
#include "ribbon_ui.h"

namespace marrowfield {
namespace {

// Dispatch identifiers of the callbacks: the buttons' actions in table
// order from kFirstAction, then the image.
constexpr DISPID kFirstAction = 1;
constexpr DISPID kGetImage = 100;
constexpr int kImageSize = 32;

std::string Narrow(const wchar_t* wide) {
  if (wide == nullptr) return {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string text(static_cast<size_t>(size - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, &text[0], size, nullptr, nullptr);
  return text;
}

BSTR WideBstr(const std::string& text) {
  const int size = MultiByteToWideChar(
      CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  BSTR wide = SysAllocStringLen(nullptr, static_cast<UINT>(size));
  if (wide != nullptr && size > 0) {
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                        wide, size);
  }
  return wide;
}

// The add-in's icon drawn into a 32-bit bitmap: the ribbon takes its images
// as bitmap pictures, the alpha channel kept.
HRESULT IconPicture(HMODULE module, VARIANT* result) {
  HICON icon =
      static_cast<HICON>(LoadImageW(module, L"IDI_ICON_SEARCH", IMAGE_ICON,
                                    kImageSize, kImageSize, LR_DEFAULTCOLOR));
  if (icon == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kImageSize;
  info.bmiHeader.biHeight = -kImageSize;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap =
      CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HRESULT hr = E_OUTOFMEMORY;
  if (bitmap != nullptr) {
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    DrawIconEx(memory, 0, 0, icon, kImageSize, kImageSize, 0, nullptr,
               DI_NORMAL);
    SelectObject(memory, previous);
    DeleteDC(memory);
    PICTDESC picture = {};
    picture.cbSizeofstruct = sizeof(picture);
    picture.picType = PICTYPE_BITMAP;
    picture.bmp.hbitmap = bitmap;
    IPictureDisp* disp = nullptr;
    // The picture owns the bitmap from here.
    hr = OleCreatePictureIndirect(&picture, IID_IPictureDisp, TRUE,
                                  reinterpret_cast<void**>(&disp));
    if (SUCCEEDED(hr)) {
      VariantInit(result);
      result->vt = VT_DISPATCH;
      result->pdispVal = disp;
    } else {
      DeleteObject(bitmap);
    }
  }
  ReleaseDC(nullptr, screen);
  DestroyIcon(icon);
  return hr;
}

class RibbonAddin final : public IDTExtensibility2,
                          public IRibbonExtensibility {
 public:
  RibbonAddin(DebugOutput& debug, HMODULE module)
      : debug_(debug), module_(module) {}
  RibbonAddin(const RibbonAddin&) = delete;
  RibbonAddin& operator=(const RibbonAddin&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch ||
        iid == kIidDTExtensibility2) {
      *out = static_cast<IDTExtensibility2*>(this);
    } else if (iid == kIidRibbonExtensibility) {
      *out = static_cast<IRibbonExtensibility*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;  // a COM object ends with its last reference
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count,
                                          LCID, DISPID* ids) override {
    if (names == nullptr || ids == nullptr) return E_POINTER;
    // Nothing may leave a COM method as an exception.
    try {
      return IdsOfNames(names, count, ids);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids) {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      // Only the method's own name can be looked up; argument names cannot.
      const std::string name = i == 0 ? Narrow(names[i]) : std::string();
      if (name == kRibbonGetImage) {
        ids[i] = kGetImage;
      } else if (const RibbonButton* button = FindRibbonCallback(name)) {
        ids[i] = kFirstAction + static_cast<DISPID>(button - &RibbonButtons[0]);
      } else {
        hr = DISP_E_UNKNOWNNAME;
      }
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO*, UINT* argumentError) override {
    try {
      return Call(member, flags, parameters, result, argumentError);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT Call(DISPID member, WORD flags, DISPPARAMS* parameters,
               VARIANT* result, UINT* argumentError) {
    const bool action =
        member >= kFirstAction &&
        member < kFirstAction + static_cast<DISPID>(RibbonButtons.size());
    if (!action && member != kGetImage) return DISP_E_MEMBERNOTFOUND;
    if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
    // Every callback takes the one control Excel passes.
    if (parameters == nullptr || parameters->cArgs != 1) {
      return DISP_E_BADPARAMCOUNT;
    }
    if (parameters->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    const VARTYPE type = parameters->rgvarg[0].vt;
    if (type != VT_DISPATCH && type != VT_UNKNOWN) {
      if (argumentError != nullptr) *argumentError = 0;
      return DISP_E_TYPEMISMATCH;
    }
    if (member == kGetImage) {
      if (result == nullptr) return E_POINTER;
      return IconPicture(module_, result);
    }
    if (result != nullptr) VariantInit(result);
    RunCommand(
        RibbonButtons[static_cast<size_t>(member - kFirstAction)].command);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, ExtConnectMode,
                                         IDispatch*, SAFEARRAY**) override {
    if (application == nullptr) return E_POINTER;
    application->AddRef();
    application_.reset(application);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnDisconnection(ExtDisconnectMode,
                                            SAFEARRAY**) override {
    application_.reset();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY**) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY**) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY**) override {
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR, BSTR* ribbonXml) override {
    if (ribbonXml == nullptr) return E_POINTER;
    *ribbonXml = nullptr;
    try {
      *ribbonXml = WideBstr(RibbonCustomUi());
    } catch (...) {
      return E_OUTOFMEMORY;
    }
    return *ribbonXml != nullptr ? S_OK : E_OUTOFMEMORY;
  }

 private:
  ~RibbonAddin() = default;

  // Application.Run(command). A command Excel cannot run (not registered,
  // macros disabled) leaves one line on the debugger output and the button
  // as it was.
  void RunCommand(const char* command) {
    if (application_ == nullptr) {
      Report(command, E_UNEXPECTED, "the ribbon is not connected");
      return;
    }
    // Held across the call: the command may close the add-in, which
    // disconnects the ribbon.
    application_->AddRef();
    const DispatchOwner application(application_.get());
    wchar_t runName[] = L"Run";
    LPOLESTR names[] = {runName};
    DISPID run = DISPID_UNKNOWN;
    HRESULT hr = application->GetIDsOfNames(IID_NULL, names, 1,
                                            LOCALE_USER_DEFAULT, &run);
    std::string description;
    if (SUCCEEDED(hr)) {
      hr = InvokeRun(application.get(), run, command, &description);
    }
    if (FAILED(hr)) Report(command, hr, description);
  }

  // Run(|command|) as |run| on |application|; on an exception, the
  // description Excel gave.
  static HRESULT InvokeRun(IDispatch* application, DISPID run,
                           const char* command, std::string* description) {
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = WideBstr(command);
    if (argument.bstrVal == nullptr) return E_OUTOFMEMORY;
    DISPPARAMS parameters = {&argument, nullptr, 1, 0};
    VARIANT answer;
    VariantInit(&answer);
    EXCEPINFO exception = {};
    const HRESULT hr =
        application->Invoke(run, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                            &parameters, &answer, &exception, nullptr);
    if (hr == DISP_E_EXCEPTION) {
      if (exception.pfnDeferredFillIn != nullptr) {
        exception.pfnDeferredFillIn(&exception);
      }
      *description = Narrow(exception.bstrDescription);
    }
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    VariantClear(&answer);
    VariantClear(&argument);
    return hr;
  }

  void Report(const char* command, HRESULT hr, const std::string& why) {
    char line[512];
    std::snprintf(line, sizeof line,
                  "Marrowfield ribbon: Excel could not run %s (0x%08lX%s%s)\n",
                  command, static_cast<unsigned long>(hr),
                  why.empty() ? "" : ": ", why.c_str());
    debug_.Write(line);
  }

  std::atomic<ULONG> references_{1};
  DebugOutput& debug_;
  HMODULE module_;
  DispatchOwner application_;  // from OnConnection to OnDisconnection
};

}  // namespace

HRESULT CreateRibbonAddin(DebugOutput& debug, HMODULE module, REFIID iid,
                          void** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  auto* addin = new (std::nothrow) RibbonAddin(debug, module);
  if (addin == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = addin->QueryInterface(iid, out);
  addin->Release();  // the creation's own reference
  return hr;
}

HRESULT RibbonAddinFactory::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IClassFactory) {
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT RibbonAddinFactory::CreateInstance(IUnknown* outer, REFIID iid,
                                           void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  return CreateRibbonAddin(debug_, module_, iid, out);
}

}  // namespace marrowfield
