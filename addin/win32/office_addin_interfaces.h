// The Office interfaces a COM add-in answers, declared here because MinGW
// ships no headers for them: IDTExtensibility2 (the add-in designer's
// interface, from msaddndr.dll's type library) and the ribbon's
// IRibbonExtensibility and IRibbonControl (from Office's mso.dll). Their
// layouts are their type libraries': IDispatch first, then the methods in
// the order below.

#ifndef MARROWFIELD_ADDIN_WIN32_OFFICE_ADDIN_INTERFACES_H_
#define MARROWFIELD_ADDIN_WIN32_OFFICE_ADDIN_INTERFACES_H_

#include <oaidl.h>
#include <windows.h>

namespace marrowfield {

enum ExtConnectMode : int {
  kExtConnectAfterStartup = 0,
  kExtConnectStartup = 1,
  kExtConnectExternal = 2,
  kExtConnectCommandLine = 3,
};

enum ExtDisconnectMode : int {
  kExtDisconnectHostShutdown = 0,
  kExtDisconnectUserClosed = 1,
};

// {B65AD801-ABAF-11D0-BB8B-00A0C90F2744}
constexpr IID kIidDTExtensibility2 = {
    0xB65AD801,
    0xABAF,
    0x11D0,
    {0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44}};
// {000C0396-0000-0000-C000-000000000046}
constexpr IID kIidRibbonExtensibility = {
    0x000C0396,
    0x0000,
    0x0000,
    {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {000C0395-0000-0000-C000-000000000046}
constexpr IID kIidRibbonControl = {
    0x000C0395,
    0x0000,
    0x0000,
    {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IDTExtensibility2 : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application,
                                                 ExtConnectMode mode,
                                                 IDispatch* addinInstance,
                                                 SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnDisconnection(ExtDisconnectMode mode,
                                                    SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};

struct IRibbonExtensibility : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR ribbonId,
                                                BSTR* ribbonXml) = 0;
};

struct IRibbonControl : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Id(BSTR* id) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Context(IDispatch** context) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Tag(BSTR* tag) = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_OFFICE_ADDIN_INTERFACES_H_
