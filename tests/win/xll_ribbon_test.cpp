// The real MarrowfieldExcel.xll putting its tab on the fake Excel's ribbon
// under Wine: at xlAutoOpen it registers its COM add-in for the user and
// has Excel connect it through COMAddIns; the fake checks its markup as
// Excel would and presses its buttons, which ask Excel to Run the
// registered commands (Search and About show their dialogs, driven from a
// second thread); xlAutoClose disconnects it and takes the keys back.
// Where it cannot connect, the menu is still there and one line on the
// debugger output says why.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bridge_rig.h"
#include "fake_xlcall32.h"
#include "resource_ids.h"
#include "ribbon_ui.h"
#include "win32/dialog_driver.h"
#include "win32/fake_com_addins.h"
#include "win32/fake_excel_windows.h"
#include "win32/xll_module.h"

namespace marrowfield {
namespace {

using EntryFunction = int(WINAPI*)();

// The debugger output of this process: OutputDebugStringA raises
// DBG_PRINTEXCEPTION_C, which a vectored handler sees before the system's
// own handler swallows it.
class DebuggerLines {
 public:
  DebuggerLines() {
    Lines().clear();
    handler_ = AddVectoredExceptionHandler(1, &DebuggerLines::Handle);
  }
  ~DebuggerLines() { RemoveVectoredExceptionHandler(handler_); }
  DebuggerLines(const DebuggerLines&) = delete;
  DebuggerLines& operator=(const DebuggerLines&) = delete;

  static void Clear() { Lines().clear(); }

  // The lines starting with |prefix|.
  static std::vector<std::string> Starting(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : Lines()) {
      if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
    }
    return found;
  }

 private:
  static std::vector<std::string>& Lines() {
    static std::vector<std::string> lines;
    return lines;
  }
  static LONG CALLBACK Handle(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C &&
        record->NumberParameters >= 2 && record->ExceptionInformation[1] != 0) {
      Lines().emplace_back(
          reinterpret_cast<const char*>(record->ExceptionInformation[1]));
    }
    return EXCEPTION_CONTINUE_SEARCH;
  }
  void* handler_ = nullptr;
};

constexpr char kRibbonLine[] = "Marrowfield ribbon:";

bool KeyExists(const std::string& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(opened);
  return true;
}

bool ClassStillRegistered() {
  CLSID classId;
  std::wstring text(kRibbonClassText,
                    kRibbonClassText + std::strlen(kRibbonClassText));
  if (FAILED(CLSIDFromString(&text[0], &classId))) return false;
  IUnknown* object = nullptr;
  const HRESULT hr =
      CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                       reinterpret_cast<void**>(&object));
  if (SUCCEEDED(hr)) object->Release();
  return SUCCEEDED(hr);
}

class XllRibbon : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    fake_xl_set_addin_path(xllPath_.c_str());
    rig_ = MakeBridgeRig();
    process_ = rig_->AddOwnProcess();
    book_ = rig_->model().AddWorkbook(process_, "C:\\Books\\r.xlsx");
    sheet_ = rig_->model().AddWorksheet(process_, book_, "Names");
    rig_->model().SetActiveProcess(process_);
    rig_->Publish();
    addins_ = std::make_unique<FakeComAddins>(ComExcelOf(*rig_), process_);
  }

  void Open() {
    xll_ = std::make_unique<XllModule>(xllPath_);
    ASSERT_EQ(xll_->Get<EntryFunction>("xlAutoOpen")(), 1);
    // Connected to its own Excel through the probe.
    ASSERT_EQ(rig_->model().macros(process_).size(), 1u);
  }

  void Close() {
    if (xll_) xll_->Get<EntryFunction>("xlAutoClose")();
    xll_.reset();
  }

  void TearDown() override {
    Close();
    addins_.reset();
    rig_->Withdraw();
    EXPECT_EQ(rig_->model().OutstandingReferences(), 0);
    EXPECT_EQ(rig_->model().overReleases(), 0);
    EXPECT_EQ(rig_->model().deadUses(), 0);
  }

  // Presses |button| on this thread while |user| answers its dialogs from
  // another; whatever stays open is closed so that the press returns.
  HRESULT PressWithUser(const char* button,
                        const std::function<void(DialogDriver&)>& user) {
    DialogDriver driver(GetCurrentThreadId());
    std::thread userThread([&] {
      user(driver);
      EXPECT_TRUE(driver.CloseAll()) << "a dialog would not close";
    });
    const HRESULT hr = addins_->Press(button);
    userThread.join();
    return hr;
  }

  const std::string xllPath_ = ProgramDirectory() + kXllFileName;
  DebuggerLines debugger_;
  std::unique_ptr<BridgeRig> rig_;
  std::unique_ptr<FakeComAddins> addins_;
  std::unique_ptr<XllModule> xll_;
  int process_ = -1;
  int book_ = -1;
  int sheet_ = -1;
};

TEST_F(XllRibbon, OpenConnectsTheTabBesideTheMenu_CloseTakesItAllBack) {
  Open();
  ASSERT_TRUE(addins_->Connected(kRibbonProgId));
  EXPECT_EQ(addins_->connections(), 1);
  EXPECT_TRUE(addins_->problems().empty())
      << (addins_->problems().empty() ? "" : addins_->problems()[0]);
  ASSERT_TRUE(addins_->ribbon().accepted) << addins_->ribbon().problem;
  std::vector<std::string> labels;
  for (const CustomUiControl& control : addins_->ribbon().controls) {
    labels.push_back(control.element + ":" + control.attributes.at("label"));
  }
  EXPECT_EQ(labels,
            (std::vector<std::string>{
                "tab:Marrowfield", "group:Phonetic search", "button:Search",
                "button:Find duplicates", "button:About"}));
  EXPECT_EQ(addins_->images(), 3);
  EXPECT_EQ(fake_xl_menu_count("Marrowfield"), 1);
  EXPECT_TRUE(DebuggerLines::Starting(kRibbonLine).empty());
  // Excel keeps the add-in's own switch off: only the XLL connects it.
  DWORD loadBehavior = 7;
  DWORD size = sizeof loadBehavior;
  EXPECT_EQ(
      RegGetValueA(HKEY_CURRENT_USER, RibbonAddinKey().c_str(), "LoadBehavior",
                   RRF_RT_REG_DWORD, nullptr, &loadBehavior, &size),
      ERROR_SUCCESS);
  EXPECT_EQ(loadBehavior, 0u);
  EXPECT_TRUE(KeyExists(RibbonClassKey()));

  Close();
  EXPECT_FALSE(addins_->Connected(kRibbonProgId));
  EXPECT_EQ(addins_->disconnections(), 1);
  EXPECT_EQ(addins_->outstanding(), 0);
  for (const std::string& key :
       {RibbonProgIdKey(), RibbonClassKey(), RibbonAddinKey()}) {
    EXPECT_FALSE(KeyExists(key)) << key;
  }
  EXPECT_FALSE(ClassStillRegistered());
  EXPECT_EQ(fake_xl_menu_count("Marrowfield"), 0);
}

TEST_F(XllRibbon, SearchOpensTheSearchDialog) {
  Open();
  bool shown = false;
  EXPECT_EQ(PressWithUser("MarrowfieldSearch",
                          [&](DialogDriver& d) {
                            HWND dialog = d.WaitForDialog([](HWND window) {
                              return GetDlgItem(window, IDC_RESULTS) != nullptr;
                            });
                            shown = dialog != nullptr;
                          }),
            S_OK);
  EXPECT_TRUE(shown);
  EXPECT_EQ(addins_->runs(), std::vector<std::string>{"fMarrowfieldDialog"});
  EXPECT_TRUE(DebuggerLines::Starting(kRibbonLine).empty());
}

TEST_F(XllRibbon, AboutOpensTheAboutDialog) {
  Open();
  bool shown = false;
  EXPECT_EQ(PressWithUser("MarrowfieldAbout",
                          [&](DialogDriver& d) {
                            shown = d.WaitForDialog("About ") != nullptr;
                          }),
            S_OK);
  EXPECT_TRUE(shown);
  EXPECT_EQ(addins_->runs(), std::vector<std::string>{"fMarrowfieldAbout"});
}

TEST_F(XllRibbon, FindDuplicatesOpensItsDialog) {
  rig_->model().SetText(process_, book_, sheet_, 1, 1, "Smith");
  rig_->model().SetText(process_, book_, sheet_, 2, 1, "Smyth");
  Open();
  bool shown = false;
  EXPECT_EQ(PressWithUser("MarrowfieldDuplicates",
                          [&](DialogDriver& d) {
                            HWND dialog = d.WaitForDialog([](HWND window) {
                              return GetDlgItem(window, IDC_DUP_COLUMN) !=
                                     nullptr;
                            });
                            shown = dialog != nullptr;
                          }),
            S_OK);
  EXPECT_TRUE(shown);
  EXPECT_EQ(addins_->runs(),
            std::vector<std::string>{"fMarrowfieldDuplicates"});
  EXPECT_TRUE(DebuggerLines::Starting(kRibbonLine).empty());
}

TEST_F(XllRibbon, AButtonSurvivesExcelRefusingToRunItsCommand) {
  Open();
  // Registered, but Excel will not run it (macros disabled).
  addins_->DisableMacro("fMarrowfieldDuplicates");
  EXPECT_EQ(addins_->Press("MarrowfieldDuplicates"), S_OK);
  EXPECT_EQ(addins_->runs(),
            std::vector<std::string>{"fMarrowfieldDuplicates"});
  const auto lines = DebuggerLines::Starting(kRibbonLine);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("fMarrowfieldDuplicates"), std::string::npos);
  EXPECT_NE(lines[0].find("Cannot run the macro"), std::string::npos);
  EXPECT_EQ(lines[0].back(), '\n');
  // The tab still works.
  EXPECT_TRUE(addins_->Connected(kRibbonProgId));
  bool shown = false;
  PressWithUser("MarrowfieldAbout", [&](DialogDriver& d) {
    shown = d.WaitForDialog("About ") != nullptr;
  });
  EXPECT_TRUE(shown);
}

// A HKEY_CURRENT_USER no key can be written under: the process's view of
// it is a key already deleted.
class VanishedUserKey {
 public:
  VanishedUserKey() {
    RegCreateKeyExA(HKEY_CURRENT_USER, kName, 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &key_, nullptr);
    RegDeleteKeyA(HKEY_CURRENT_USER, kName);
    RegOverridePredefKey(HKEY_CURRENT_USER, key_);
  }
  ~VanishedUserKey() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(key_);
  }
  VanishedUserKey(const VanishedUserKey&) = delete;
  VanishedUserKey& operator=(const VanishedUserKey&) = delete;

 private:
  static constexpr char kName[] = "Software\\MarrowfieldVanishedKey";
  HKEY key_ = nullptr;
};

TEST_F(XllRibbon, WhereTheTabCannotConnect_TheMenuStaysAndOneLineSaysWhy) {
  const struct {
    const char* why;
    std::function<void(FakeComAddins&)> host;
    bool keysDenied;
    const char* reason;
  } cases[] = {
      {"no COMAddIns", [](FakeComAddins& a) { a.HideComAddins(); }, false,
       "no COMAddIns"},
      {"Connect refused",
       [](FakeComAddins& a) { a.RefuseConnect(E_ACCESSDENIED); }, false,
       "refused to connect"},
      {"keys denied", [](FakeComAddins&) {}, true, "registry keys"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    fake_xl_reset();
    fake_xl_set_addin_path(xllPath_.c_str());
    addins_.reset();  // the one Excel has, before it starts anew
    addins_ = std::make_unique<FakeComAddins>(ComExcelOf(*rig_), process_);
    c.host(*addins_);
    DebuggerLines::Clear();
    {
      std::unique_ptr<VanishedUserKey> denied;
      if (c.keysDenied) denied = std::make_unique<VanishedUserKey>();
      xll_ = std::make_unique<XllModule>(xllPath_);
      ASSERT_EQ(xll_->Get<EntryFunction>("xlAutoOpen")(), 1);
    }
    EXPECT_FALSE(addins_->Connected(kRibbonProgId));
    EXPECT_EQ(fake_xl_menu_count("Marrowfield"), 1);
    const auto lines = DebuggerLines::Starting(kRibbonLine);
    ASSERT_EQ(lines.size(), 1u) << lines[0];
    EXPECT_NE(lines[0].find(c.reason), std::string::npos) << lines[0];
    // Nothing is left behind for Excel to find.
    for (const std::string& key :
         {RibbonProgIdKey(), RibbonClassKey(), RibbonAddinKey()}) {
      EXPECT_FALSE(KeyExists(key)) << key;
    }
    EXPECT_FALSE(ClassStillRegistered());
    Close();
    EXPECT_EQ(addins_->connections(), 0);
    EXPECT_EQ(addins_->outstanding(), 0);
    EXPECT_EQ(fake_xl_menu_count("Marrowfield"), 0);
  }
}

}  // namespace
}  // namespace marrowfield
