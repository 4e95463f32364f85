// RibbonAddin: the COM add-in object behind the Marrowfield tab. Excel
// creates it through the class object that ComAddinConnection registers in
// the running process, connects it (IDTExtensibility2), asks it for its
// customUI markup (IRibbonExtensibility) and calls its buttons' callbacks
// by name through IDispatch. A callback runs outside any C API context, so
// a button never calls Excel4 or Excel12: it asks the Application Excel
// gave at OnConnection to Run the registered command, and Excel calls the
// command as it calls one from the menu.

#ifndef MARROWFIELD_ADDIN_WIN32_RIBBON_ADDIN_H_
#define MARROWFIELD_ADDIN_WIN32_RIBBON_ADDIN_H_

#include <windows.h>

#include <memory>

#include "office_addin_interfaces.h"

namespace marrowfield {

class DebugOutput;

// The one owner of a COM reference, released by the destructor.
struct ComReleaser {
  void operator()(IUnknown* object) const {
    if (object != nullptr) object->Release();
  }
};
using DispatchOwner = std::unique_ptr<IDispatch, ComReleaser>;

// Makes a new add-in object with one reference, answering |iid| into
// *|out|. |debug| must outlive it; |module| holds the icon resource.
HRESULT CreateRibbonAddin(DebugOutput& debug, HMODULE module, REFIID iid,
                          void** out) noexcept;

// The class object for CoRegisterClassObject: every CreateInstance makes a
// new RibbonAddin. It lives as long as its owner and counts no references.
class RibbonAddinFactory : public IClassFactory {
 public:
  RibbonAddinFactory(DebugOutput& debug, HMODULE module)
      : debug_(debug), module_(module) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid,
                                           void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  DebugOutput& debug_;
  HMODULE module_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_RIBBON_ADDIN_H_
