// The fake Excel's COM add-in manager against add-ins of the test's own
// making, each wrong in one way Excel does not accept: the manager must
// notice, or its acceptance of the real add-in's tab would prove nothing.

#include "win32/fake_com_addins.h"

#include <gtest/gtest.h>
#include <olectl.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bridge_rig.h"
#include "fake_xlcall32.h"
#include "office_addin_interfaces.h"
#include "win32/fake_excel_windows.h"

namespace marrowfield {
namespace {

constexpr char kProgId[] = "Marrowfield.FakeTestAddin";
constexpr wchar_t kClassText[] = L"{6C1F1D3A-7E0B-4C8F-9E55-2A7F0F4B9D11}";
constexpr char kNamespace[] =
    "http://schemas.microsoft.com/office/2009/07/customui";

std::string Tab(const std::string& button) {
  return std::string("<customUI xmlns=\"") + kNamespace +
         "\"><ribbon><tabs><tab id=\"T\" label=\"T\"><group id=\"G\" "
         "label=\"G\">" +
         button + "</group></tab></tabs></ribbon></customUI>";
}

// An add-in that answers the names it is given and hands out |markup|; its
// image is a bitmap or, when |iconImage|, an icon.
class TestAddin : public IDTExtensibility2, public IRibbonExtensibility {
 public:
  std::string markup;
  std::vector<std::wstring> names;
  bool iconImage = false;
  int connections = 0;
  int disconnections = 0;
  int presses = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch ||
        iid == kIidDTExtensibility2) {
      *out = static_cast<IDTExtensibility2*>(this);
    } else if (iid == kIidRibbonExtensibility) {
      *out = static_cast<IRibbonExtensibility*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* asked, UINT, LCID,
                                          DISPID* ids) override {
    for (size_t i = 0; i < names.size(); ++i) {
      if (names[i] == asked[0]) {
        *ids = static_cast<DISPID>(i + 1);
        return S_OK;
      }
    }
    *ids = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD,
                                   DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    if (member < 1 || member > static_cast<DISPID>(names.size())) {
      return DISP_E_MEMBERNOTFOUND;
    }
    if (parameters->cArgs != 1 || parameters->rgvarg[0].vt != VT_DISPATCH) {
      return DISP_E_BADPARAMCOUNT;
    }
    if (names[static_cast<size_t>(member - 1)] != L"Image") {
      ++presses;
      return S_OK;
    }
    PICTDESC picture = {};
    picture.cbSizeofstruct = sizeof picture;
    if (iconImage) {
      picture.picType = PICTYPE_ICON;
      picture.icon.hicon = LoadIcon(nullptr, IDI_APPLICATION);
    } else {
      picture.picType = PICTYPE_BITMAP;
      picture.bmp.hbitmap = CreateBitmap(16, 16, 1, 32, nullptr);
    }
    VariantInit(result);
    result->vt = VT_DISPATCH;
    return OleCreatePictureIndirect(
        &picture, IID_IPictureDisp, !iconImage,
        reinterpret_cast<void**>(&result->pdispVal));
  }
  HRESULT STDMETHODCALLTYPE OnConnection(IDispatch*, ExtConnectMode, IDispatch*,
                                         SAFEARRAY**) override {
    ++connections;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnDisconnection(ExtDisconnectMode,
                                            SAFEARRAY**) override {
    ++disconnections;
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
  HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR, BSTR* xml) override {
    *xml = SysAllocString(std::wstring(markup.begin(), markup.end()).c_str());
    return S_OK;
  }
};

class TestFactory : public IClassFactory {
 public:
  explicit TestFactory(TestAddin& addin) : addin_(addin) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid,
                                           void** out) override {
    return addin_.QueryInterface(iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  TestAddin& addin_;
};

void SetKey(const std::string& key, const char* name, const std::string& text) {
  HKEY opened = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &opened, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(opened, name, 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(opened);
}

// One call through IDispatch, the way an automation client makes it.
HRESULT Call(IDispatch* object, const wchar_t* name, WORD kind,
             std::vector<VARIANT> arguments, VARIANT* result,
             std::string* description = nullptr) {
  std::wstring copy(name);
  LPOLESTR names[] = {&copy[0]};
  DISPID member = DISPID_UNKNOWN;
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, 0, &member);
  if (FAILED(hr)) return hr;
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS parameters = {arguments.data(), nullptr,
                           static_cast<UINT>(arguments.size()), 0};
  if (kind == DISPATCH_PROPERTYPUT) {
    parameters.rgdispidNamedArgs = &put;
    parameters.cNamedArgs = 1;
  }
  EXCEPINFO exception = {};
  VARIANT ignored;
  VariantInit(&ignored);
  hr = object->Invoke(member, IID_NULL, 0, kind, &parameters,
                      result != nullptr ? result : &ignored, &exception,
                      nullptr);
  if (description != nullptr && exception.bstrDescription != nullptr) {
    for (const wchar_t* c = exception.bstrDescription; *c != 0; ++c) {
      *description += static_cast<char>(*c);
    }
  }
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  VariantClear(&ignored);
  for (VARIANT& argument : arguments) VariantClear(&argument);
  return hr;
}

VARIANT Text(const char* text) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  std::string narrow(text);
  value.bstrVal =
      SysAllocString(std::wstring(narrow.begin(), narrow.end()).c_str());
  return value;
}

VARIANT Flag(bool on) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BOOL;
  value.boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
  return value;
}

class FakeComAddinsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    rig_ = MakeBridgeRig();
    process_ = rig_->AddOwnProcess();
    rig_->model().SetActiveProcess(process_);
    addins_ = std::make_unique<FakeComAddins>(ComExcelOf(*rig_), process_);
    application_ =
        ComExcelOf(*rig_).Dispatch(rig_->model().ApplicationObject(process_));
    CLSID classId;
    std::wstring text(kClassText);
    ASSERT_EQ(CLSIDFromString(&text[0], &classId), S_OK);
    ASSERT_EQ(CoRegisterClassObject(classId, &factory_, CLSCTX_INPROC_SERVER,
                                    REGCLS_MULTIPLEUSE, &cookie_),
              S_OK);
  }
  void TearDown() override {
    CoRevokeClassObject(cookie_);
    addins_.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, AddinKey().c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER,
                   (std::string("Software\\Classes\\") + kProgId).c_str());
    EXPECT_EQ(rig_->model().OutstandingReferences(), 0);
  }

  static std::string AddinKey() {
    return std::string("Software\\Microsoft\\Office\\Excel\\Addins\\") +
           kProgId;
  }
  void Register(bool withClass = true) {
    SetKey(AddinKey(), "Description", "a test add-in");
    if (withClass) {
      const std::wstring wide(kClassText);
      SetKey(std::string("Software\\Classes\\") + kProgId + "\\CLSID", nullptr,
             std::string(wide.begin(), wide.end()));
    }
  }

  // COMAddIns.Item(ProgID), after Update when |update|; null when Excel
  // does not list it.
  IDispatch* Item(bool update) {
    VARIANT collection;
    VariantInit(&collection);
    EXPECT_EQ(
        Call(application_, L"COMAddIns", DISPATCH_PROPERTYGET, {}, &collection),
        S_OK);
    if (collection.vt != VT_DISPATCH) return nullptr;
    if (update) {
      EXPECT_EQ(
          Call(collection.pdispVal, L"Update", DISPATCH_METHOD, {}, nullptr),
          S_OK);
    }
    VARIANT item;
    VariantInit(&item);
    const HRESULT hr =
        Call(collection.pdispVal, L"Item",
             DISPATCH_METHOD | DISPATCH_PROPERTYGET, {Text(kProgId)}, &item);
    VariantClear(&collection);
    return SUCCEEDED(hr) && item.vt == VT_DISPATCH ? item.pdispVal : nullptr;
  }

  HRESULT Connect(IDispatch* item, bool on) {
    return Call(item, L"Connect", DISPATCH_PROPERTYPUT, {Flag(on)}, nullptr);
  }

  std::unique_ptr<BridgeRig> rig_;
  std::unique_ptr<FakeComAddins> addins_;
  IDispatch* application_ = nullptr;
  int process_ = -1;
  TestAddin addin_;
  TestFactory factory_{addin_};
  DWORD cookie_ = 0;
};

TEST_F(FakeComAddinsTest, ListsOnlyWhatItReadAtStartOrUpdate) {
  Register();
  EXPECT_EQ(Item(false), nullptr);  // written after Excel started
  IDispatch* item = Item(true);
  ASSERT_NE(item, nullptr);
  item->Release();
  EXPECT_EQ(addins_->outstanding(), 0);
}

TEST_F(FakeComAddinsTest, ConnectNeedsTheClassAndANamedPutValue) {
  Register(false);
  IDispatch* item = Item(true);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(Connect(item, true), DISP_E_EXCEPTION);  // no class registered
  EXPECT_FALSE(addins_->Connected(kProgId));
  // A put whose value is not named DISPID_PROPERTYPUT is refused.
  VARIANT on = Flag(true);
  DISPPARAMS unnamed = {&on, nullptr, 1, 0};
  EXPECT_NE(item->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &unnamed,
                         nullptr, nullptr, nullptr),
            S_OK);
  item->Release();
  EXPECT_EQ(addin_.connections, 0);
}

TEST_F(FakeComAddinsTest, RefusesTabsExcelWouldRefuse) {
  const struct {
    const char* why;
    std::string markup;
    std::vector<std::wstring> names;
    bool iconImage;
    const char* problem;
  } cases[] = {
      {"markup in the wrong namespace",
       "<customUI xmlns=\"urn:other\"><ribbon/></customUI>",
       {},
       false,
       "namespace"},
      {"an action the object does not answer",
       Tab("<button id=\"B\" label=\"B\" onAction=\"Go\"/>"),
       {L"Other"},
       false,
       "unknown callback Go"},
      {"an image that is an icon",
       Tab("<button id=\"B\" label=\"B\" getImage=\"Image\" onAction=\"Go\"/>"),
       {L"Go", L"Image"},
       true,
       "no bitmap picture"},
  };
  Register();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    addin_.markup = c.markup;
    addin_.names = c.names;
    addin_.iconImage = c.iconImage;
    const size_t before = addins_->problems().size();
    IDispatch* item = Item(true);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(Connect(item, true), S_OK);
    // Excel connects the add-in all the same, and shows no tab.
    EXPECT_TRUE(addins_->Connected(kProgId));
    ASSERT_EQ(addins_->problems().size(), before + 1);
    EXPECT_NE(addins_->problems().back().find(c.problem), std::string::npos)
        << addins_->problems().back();
    EXPECT_EQ(Connect(item, false), S_OK);
    item->Release();
  }
  EXPECT_EQ(addin_.disconnections, 3);
  EXPECT_EQ(addins_->outstanding(), 0);
}

TEST_F(FakeComAddinsTest, AGoodTabConnects_PressesReachTheObject) {
  Register();
  addin_.markup =
      Tab("<button id=\"B\" label=\"B\" getImage=\"Image\" onAction=\"Go\"/>");
  addin_.names = {L"Go", L"Image"};
  IDispatch* item = Item(true);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(Connect(item, true), S_OK);
  EXPECT_TRUE(addins_->problems().empty());
  EXPECT_EQ(addins_->images(), 1);
  EXPECT_EQ(addins_->Press("B"), S_OK);
  EXPECT_EQ(addins_->Press("NoSuchButton"), E_FAIL);
  EXPECT_EQ(addin_.presses, 1);
  EXPECT_EQ(Connect(item, false), S_OK);
  item->Release();
  EXPECT_EQ(addin_.disconnections, 1);
}

TEST_F(FakeComAddinsTest, RunOfANameNotRegistered_FailsAsExcelDoes) {
  VARIANT result;
  VariantInit(&result);
  std::string description;
  EXPECT_EQ(Call(application_, L"Run", DISPATCH_METHOD,
                 {Text("fNothingRegistered")}, &result, &description),
            DISP_E_EXCEPTION);
  EXPECT_NE(description.find("Cannot run the macro 'fNothingRegistered'"),
            std::string::npos);
  EXPECT_EQ(addins_->runs(), std::vector<std::string>{"fNothingRegistered"});
}

TEST_F(FakeComAddinsTest, HiddenComAddins_AreUnknownToTheApplication) {
  addins_->HideComAddins();
  std::wstring name = L"COMAddIns";
  LPOLESTR names[] = {&name[0]};
  DISPID member = 0;
  EXPECT_EQ(application_->GetIDsOfNames(IID_NULL, names, 1, 0, &member),
            DISP_E_UNKNOWNNAME);
}

}  // namespace
}  // namespace marrowfield
