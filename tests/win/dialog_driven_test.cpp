// The real MarrowfieldExcel.xll showing its dialogs under Wine: loaded
// with the fake XLCALL32.DLL and connected to a fake Excel of real COM
// objects holding a sheet of names, the search command's dialog is driven
// through its controls from a second thread, as a user would: type a name,
// search, read the list, step with Next, move the accuracy slider, close,
// open again; the About dialog, from its command and from the search
// dialog's button; and Find duplicates, whose sheet is written through
// COM into the fake Excel.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "bridge_rig.h"
#include "duplicates_sheet.h"
#include "fake_xlcall32.h"
#include "marrowfield/sheet_search.h"
#include "resource_ids.h"
#include "web_addresses.h"
#include "win32/dialog_driver.h"
#include "win32/fake_excel_windows.h"
#include "win32/xll_module.h"

namespace marrowfield {
namespace {

using EntryFunction = int(WINAPI*)();
using CompareWords = int (*)(const char*, const char*);

constexpr char kVersion[] = "1.0 (test)";
constexpr char kConfigKey[] = "SOFTWARE\\Microsoft\\Marrowfield";

// The sheet of names, in sheet rows from B3 down; one number among them.
const std::vector<std::string>& Names() {
  static const std::vector<std::string> names = {
      "Smith", "Jones", "Smyth", "", "Smithe", "Brown", "Schmidt", "Taylor"};
  return names;
}
constexpr int kTopRow = 3;
constexpr int kColumn = 2;
constexpr int kNumberRow = kTopRow + 3;

struct Listed {
  std::vector<std::string> items;
  std::vector<std::pair<int, int>> cells;  // sheet row, column of each
};

class DrivenDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    fake_xl_set_addin_path(xllPath_.c_str());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kConfigKey, 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Version", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(kVersion), sizeof kVersion);
    RegCloseKey(key);

    rig_ = MakeBridgeRig();
    process_ = rig_->AddOwnProcess();
    if (host_.macrosBlocked) {
      rig_->model().BlockMacros(process_);
      windows_ = std::make_unique<FakeExcelWindows>(ComExcelOf(*rig_));
      mainWindow_ = windows_->AddMainWindow(process_);
      ASSERT_NE(mainWindow_, nullptr);
      fake_xl_set_main_window(reinterpret_cast<intptr_t>(mainWindow_));
    }
    if (host_.workbook) BuildWorkbook();
    rig_->model().SetActiveProcess(process_);
    rig_->Publish();
    const int published = rig_->model().OutstandingReferences();
    xll_ = std::make_unique<XllModule>(xllPath_);
    ASSERT_EQ(xll_->Get<EntryFunction>("xlAutoOpen")(), 1);
    if (!host_.macrosBlocked) {
      // Connected: the XLL's probe reached it through the fake Excel.
      ASSERT_EQ(rig_->model().macros(process_).size(), 1u);
    } else if (host_.workbook) {
      // Connected through the workbook's window, with no macro.
      ASSERT_TRUE(rig_->model().macros(process_).empty());
      ASSERT_GT(rig_->model().OutstandingReferences(), published);
    } else {
      ASSERT_EQ(rig_->model().OutstandingReferences(), published);
    }
  }

  // The workbook of the sheet of names, with its window when the host
  // has windows.
  void BuildWorkbook() {
    const int book =
        rig_->model().AddWorkbook(process_, "C:\\Books\\names.xlsx");
    if (windows_ != nullptr) {
      ASSERT_NE(windows_->AddWorkbookWindow(mainWindow_, book), nullptr);
    }
    const int sheet = rig_->model().AddWorksheet(process_, book, "Names");
    for (size_t i = 0; i < Names().size(); ++i) {
      const int row = kTopRow + static_cast<int>(i);
      if (row == kNumberRow) {
        rig_->model().SetNumber(process_, book, sheet, row, kColumn, 12);
      } else {
        rig_->model().SetText(process_, book, sheet, row, kColumn, Names()[i]);
      }
    }
  }

  void TearDown() override {
    if (xll_) xll_->Get<EntryFunction>("xlAutoClose")();
    xll_.reset();
    windows_.reset();
    rig_->Withdraw();
    EXPECT_EQ(rig_->model().OutstandingReferences(), 0);
    EXPECT_EQ(rig_->model().overReleases(), 0);
    RegDeleteTreeA(HKEY_CURRENT_USER, kConfigKey);
  }

  // What a search for |text| at |level| must list, worked out with the
  // XLL's own compare_words and the result order.
  Listed Expect(const std::string& text, int level) const {
    auto compare = xll_->Get<CompareWords>("compare_words");
    std::vector<std::pair<SearchResult, std::pair<int, int>>> kept;
    for (size_t i = 0; i < Names().size(); ++i) {
      const int row = kTopRow + static_cast<int>(i);
      if (row == kNumberRow) continue;
      SearchResult result;
      result.cellText = Names()[i];
      result.score = compare(text.c_str(), Names()[i].c_str());
      if (result.score >= level) kept.push_back({result, {row, kColumn}});
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const auto& a, const auto& b) {
                       return ResultBefore(a.first, b.first);
                     });
    Listed listed;
    for (const auto& entry : kept) {
      char line[256];
      std::snprintf(line, sizeof line, "%s  (%d%%)",
                    entry.first.cellText.c_str(), entry.first.score);
      listed.items.push_back(line);
      listed.cells.push_back(entry.second);
    }
    return listed;
  }

  std::pair<int, int> ActiveCell() const {
    const auto cell = rig_->model().ActiveCellOf(process_);
    return {cell.row, cell.column};
  }

  // Runs |command| on this thread while |user| drives its dialogs from
  // another; whatever |user| leaves open is closed so the command returns.
  int RunWithUser(const char* command,
                  const std::function<void(DialogDriver&)>& user) {
    DialogDriver driver(GetCurrentThreadId());
    std::thread userThread([&] {
      SetCursorPos(0, 0);  // keep the real pointer off the dialogs
      user(driver);
      // Whatever a failed step left open is closed, so the command returns.
      EXPECT_TRUE(driver.CloseAll()) << "a dialog would not close";
    });
    const int answer = xll_->Get<EntryFunction>(command)();
    userThread.join();
    return answer;
  }

  static bool IsSearchDialog(HWND window) {
    return GetDlgItem(window, IDC_RESULTS) != nullptr;
  }

  // The host the fixture builds: whether it runs Excel 4.0 macros (when
  // not, it has XLMAIN / XLDESK windows, the only way to it), and whether
  // a workbook is open.
  struct Host {
    bool macrosBlocked = false;
    bool workbook = true;
  };
  Host host_;

  const std::string xllPath_ = ProgramDirectory() + kXllFileName;
  std::unique_ptr<BridgeRig> rig_;
  std::unique_ptr<FakeExcelWindows> windows_;
  HWND mainWindow_ = nullptr;
  std::unique_ptr<XllModule> xll_;
  int process_ = -1;
};

// A host that blocks Excel 4.0 macros, as today's Excel does by default.
class DrivenDialogsXlmBlocked : public DrivenDialogs {
 protected:
  void SetUp() override {
    host_.macrosBlocked = true;
    DrivenDialogs::SetUp();
  }
};

// The same, started with no workbook open.
class DrivenDialogsNoWorkbook : public DrivenDialogs {
 protected:
  void SetUp() override {
    host_.macrosBlocked = true;
    host_.workbook = false;
    DrivenDialogs::SetUp();
  }
};

TEST_F(DrivenDialogs, SearchNextSliderClose_ListAndHostFollow) {
  const Listed atSixty = Expect("Smith", 60);
  const Listed atHundred = Expect("Smith", 100);
  ASSERT_GE(atSixty.items.size(), 3u);
  ASSERT_FALSE(atHundred.items.empty());
  ASSERT_LT(atHundred.items.size(), atSixty.items.size());

  const int answer = RunWithUser("fMarrowfieldDialog", [&](DialogDriver& d) {
    HWND dialog = d.WaitForDialog(IsSearchDialog);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(DialogDriver::Text(dialog),
              std::string("Marrowfield ") + kVersion);
    EXPECT_EQ(DialogDriver::SliderPosition(dialog, IDC_ACCURACY), 60);
    EXPECT_TRUE(DialogDriver::ListItems(dialog, IDC_RESULTS).empty());
    EXPECT_FALSE(DialogDriver::IsEnabled(dialog, IDC_PREV));
    EXPECT_FALSE(DialogDriver::IsEnabled(dialog, IDC_NEXT));

    // Searching with an empty field asks for the string.
    DialogDriver::ClickLater(dialog, IDOK);
    HWND box = d.WaitForDialog("Marrowfield", dialog);
    ASSERT_NE(box, nullptr);
    const auto texts = DialogDriver::StaticTexts(box);
    EXPECT_NE(
        std::find(texts.begin(), texts.end(), "Please enter the search string"),
        texts.end());
    DialogDriver::Click(box, IDOK);
    ASSERT_TRUE(DialogDriver::WaitUntilClosed(box));

    DialogDriver::SetControlText(dialog, IDC_SEARCH_TEXT, "Smith");
    DialogDriver::Click(dialog, IDOK);
    EXPECT_EQ(DialogDriver::ListItems(dialog, IDC_RESULTS), atSixty.items);
    EXPECT_EQ(DialogDriver::ListSelection(dialog, IDC_RESULTS), 0);
    EXPECT_FALSE(DialogDriver::IsEnabled(dialog, IDC_PREV));
    EXPECT_TRUE(DialogDriver::IsEnabled(dialog, IDC_NEXT));
    EXPECT_EQ(ActiveCell(), atSixty.cells[0]);
    DialogDriver::PauseForPicture(dialog, "search_dialog");

    DialogDriver::Click(dialog, IDC_NEXT);
    EXPECT_EQ(DialogDriver::ListSelection(dialog, IDC_RESULTS), 1);
    EXPECT_TRUE(DialogDriver::IsEnabled(dialog, IDC_PREV));
    EXPECT_EQ(ActiveCell(), atSixty.cells[1]);

    const size_t last = atSixty.items.size() - 1;
    DialogDriver::PickListItem(dialog, IDC_RESULTS, static_cast<int>(last));
    EXPECT_EQ(ActiveCell(), atSixty.cells[last]);
    EXPECT_TRUE(DialogDriver::IsEnabled(dialog, IDC_PREV));
    EXPECT_FALSE(DialogDriver::IsEnabled(dialog, IDC_NEXT));

    // The slider searches again once released, through a posted click.
    DialogDriver::ReleaseSlider(dialog, IDC_ACCURACY, 100);
    // The search runs on the dialog's thread: the list fills first, then
    // the host jumps to the best cell, so both are awaited.
    EXPECT_TRUE(DialogDriver::WaitUntil([&] {
      return DialogDriver::ListItems(dialog, IDC_RESULTS) == atHundred.items &&
             ActiveCell() == atHundred.cells[0];
    })) << "the list and the host did not follow the slider";
    EXPECT_EQ(DialogDriver::ListItems(dialog, IDC_RESULTS), atHundred.items);
    EXPECT_EQ(ActiveCell(), atHundred.cells[0]);

    DialogDriver::Click(dialog, IDCANCEL);
    EXPECT_TRUE(DialogDriver::WaitUntilClosed(dialog));
  });
  EXPECT_EQ(answer, 1);

  // Opened again: the text is kept, everything else starts afresh.
  RunWithUser("fMarrowfieldDialog", [&](DialogDriver& d) {
    HWND dialog = d.WaitForDialog(IsSearchDialog);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(DialogDriver::ControlText(dialog, IDC_SEARCH_TEXT), "Smith");
    EXPECT_EQ(DialogDriver::SliderPosition(dialog, IDC_ACCURACY), 60);
    EXPECT_TRUE(DialogDriver::ListItems(dialog, IDC_RESULTS).empty());
    EXPECT_FALSE(DialogDriver::IsEnabled(dialog, IDC_PREV));
    EXPECT_FALSE(DialogDriver::IsEnabled(dialog, IDC_NEXT));

    // The About button shows the About dialog over the search dialog.
    DialogDriver::ClickLater(dialog, IDC_ABOUT_BUTTON);
    HWND about = d.WaitForDialog("About ", dialog);
    ASSERT_NE(about, nullptr);
    DialogDriver::Click(about, IDOK);
    EXPECT_TRUE(DialogDriver::WaitUntilClosed(about));
    DialogDriver::Click(dialog, IDCANCEL);
  });
}

constexpr COLORREF kBlue = RGB(0, 0, 255);

COLORREF Colour(HWND dialog, int control) {
  return DialogDriver::StaticTextColour(dialog, control);
}

// The face name of the font |dialog| draws its controls with.
std::string DialogFontFace(HWND dialog) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  LOGFONTA description{};
  if (font == nullptr ||
      GetObjectA(font, sizeof(description), &description) == 0) {
    return {};
  }
  return description.lfFaceName;
}

// The size of the bitmap a static control shows.
SIZE ShownBitmapSize(HWND dialog, int control) {
  HBITMAP shown = reinterpret_cast<HBITMAP>(
      SendMessageA(GetDlgItem(dialog, control), STM_GETIMAGE, IMAGE_BITMAP, 0));
  BITMAP bitmap{};
  if (shown == nullptr || GetObjectA(shown, sizeof(bitmap), &bitmap) == 0) {
    return {0, 0};
  }
  return {bitmap.bmWidth, bitmap.bmHeight};
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

TEST_F(DrivenDialogs, Dialogs_UseTheShellFont_LogoAtTheScreensDpi) {
  RunWithUser("fMarrowfieldDialog", [&](DialogDriver& d) {
    HWND dialog = d.WaitForDialog(IsSearchDialog);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(DialogFontFace(dialog), "MS Shell Dlg 2");
    // The logo's 85 x 20 pixels are for 96 DPI.
    const SIZE logo = ShownBitmapSize(dialog, IDC_SEARCH_LOGO);
    EXPECT_EQ(logo.cx, MulDiv(85, ScreenDpi(), 96));
    EXPECT_EQ(logo.cy, MulDiv(20, ScreenDpi(), 96));
    DialogDriver::Click(dialog, IDCANCEL);
  });
}

TEST_F(DrivenDialogs, MovedDialog_LinksHoverWhereTheyAreNow) {
  RunWithUser("fMarrowfieldAbout", [&](DialogDriver& d) {
    HWND about = d.WaitForDialog("About ");
    ASSERT_NE(about, nullptr);
    RECT place{};
    GetWindowRect(about, &place);
    SetWindowPos(about, nullptr, place.left + 150, place.top + 90, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(DialogDriver::ControlText(about, IDC_LINK_MAIL),
              std::string("Email to : ") + supportMailAddress);
    EXPECT_TRUE(DialogDriver::HoverUntil(
        about, IDC_LINK_MAIL,
        [&] { return Colour(about, IDC_LINK_MAIL) == kBlue; }))
        << "the hovered link stayed " << Colour(about, IDC_LINK_MAIL);
    EXPECT_TRUE(DialogDriver::HoverUntil(about, 0, [&] {
      return Colour(about, IDC_LINK_MAIL) != kBlue;
    })) << "the link stayed blue with the mouse away";
    DialogDriver::Click(about, IDOK);
    EXPECT_TRUE(DialogDriver::WaitUntilClosed(about));
  });
}

TEST_F(DrivenDialogs, NoMatch_ListsTheNotice_PickingItDoesNothing) {
  RunWithUser("fMarrowfieldDialog", [&](DialogDriver& d) {
    HWND dialog = d.WaitForDialog(IsSearchDialog);
    ASSERT_NE(dialog, nullptr);
    const auto before = ActiveCell();
    DialogDriver::SetControlText(dialog, IDC_SEARCH_TEXT, "Quintessential");
    DialogDriver::Click(dialog, IDOK);
    ASSERT_TRUE(Expect("Quintessential", 60).items.empty());
    EXPECT_EQ(DialogDriver::ListItems(dialog, IDC_RESULTS),
              std::vector<std::string>{"No Matches Found"});
    DialogDriver::PickListItem(dialog, IDC_RESULTS, 0);
    EXPECT_FALSE(DialogDriver::IsEnabled(dialog, IDC_PREV));
    EXPECT_FALSE(DialogDriver::IsEnabled(dialog, IDC_NEXT));
    EXPECT_EQ(ActiveCell(), before);
    DialogDriver::Click(dialog, IDCANCEL);
  });
}

TEST_F(DrivenDialogs, About_ShowsTheAddresses_HoveredLinkTurnsBlue) {
  const int answer = RunWithUser("fMarrowfieldAbout", [&](DialogDriver& d) {
    HWND about = d.WaitForDialog("About ");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(DialogDriver::ControlText(about, IDC_ABOUT_TITLE),
              "Marrowfield  1.0");
    EXPECT_EQ(DialogDriver::ControlText(about, IDC_LINK_PRODUCT),
              productSiteUrl);
    EXPECT_EQ(DialogDriver::ControlText(about, IDC_LINK_MAIL),
              std::string("Email to : ") + supportMailAddress);
    EXPECT_EQ(DialogDriver::ControlText(about, IDC_LINK_MAKER),
              std::string("Visit us : ") + makerSiteUrl);

    // Each hover is awaited until the dialog shows it (or a generous
    // deadline passes), never for a fixed time: a busy machine may take
    // long to deliver the moves.
    EXPECT_TRUE(DialogDriver::HoverUntil(
        about, IDC_LINK_MAIL,
        [&] { return Colour(about, IDC_LINK_MAIL) == kBlue; }))
        << "the hovered link stayed " << Colour(about, IDC_LINK_MAIL);
    EXPECT_NE(Colour(about, IDC_LINK_PRODUCT), kBlue);
    DialogDriver::PauseForPicture(about, "about_dialog");
    EXPECT_TRUE(DialogDriver::HoverUntil(
        about, IDC_LINK_MAKER,
        [&] { return Colour(about, IDC_LINK_MAKER) == kBlue; }))
        << "the hovered link stayed " << Colour(about, IDC_LINK_MAKER);
    EXPECT_NE(Colour(about, IDC_LINK_MAIL), kBlue);
    EXPECT_TRUE(DialogDriver::HoverUntil(about, 0, [&] {
      return Colour(about, IDC_LINK_MAKER) != kBlue;
    })) << "the link stayed blue with the mouse away";
    EXPECT_NE(Colour(about, IDC_LINK_MAIL), kBlue);
    EXPECT_NE(Colour(about, IDC_LINK_PRODUCT), kBlue);

    DialogDriver::Click(about, IDOK);
    EXPECT_TRUE(DialogDriver::WaitUntilClosed(about));
  });
  EXPECT_EQ(answer, 1);
}

bool IsDuplicatesDialog(HWND window) {
  return GetDlgItem(window, IDC_DUP_COLUMN) != nullptr;
}

TEST_F(DrivenDialogs, FindDuplicates_UnticksTheGuessedHeader_WritesTheSheet) {
  const int answer =
      RunWithUser("fMarrowfieldDuplicates", [&](DialogDriver& d) {
        HWND dialog = d.WaitForDialog(IsDuplicatesDialog);
        ASSERT_NE(dialog, nullptr);
        // The names' column is the used range's only one; its first name is
        // taken for a header until the user says otherwise.
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DUP_HEADER), BST_CHECKED);
        EXPECT_NE(DialogDriver::ControlText(dialog, IDC_DUP_NOTE).find("Smith"),
                  std::string::npos);
        DialogDriver::PauseForPicture(dialog, "duplicates_dialog");
        DialogDriver::Click(dialog, IDC_DUP_HEADER);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_DUP_HEADER), BST_UNCHECKED);
        DialogDriver::ClickLater(dialog, IDOK);
        EXPECT_TRUE(DialogDriver::WaitUntilClosed(dialog));
      });
  EXPECT_EQ(answer, 1);

  AutomationArray column;
  column.rows = static_cast<int32_t>(Names().size());
  column.columns = 1;
  for (size_t i = 0; i < Names().size(); ++i) {
    column.cells.push_back(kTopRow + static_cast<int>(i) == kNumberRow
                               ? AutomationValue::Double(12)
                               : AutomationValue::String(Names()[i]));
  }
  const std::vector<DuplicateRow> rows = FindDuplicateRows(
      ToUsedCells(AutomationValue::Array(std::move(column)), kTopRow, kColumn),
      DuplicatesChoice(), DedupeRun());
  ASSERT_FALSE(rows.empty());
  const std::vector<std::string> names = rig_->model().SheetNames(process_, 0);
  ASSERT_EQ(names.size(), 2u);
  const int sheet = rig_->model().ActiveSheetOf(process_, 0);
  EXPECT_EQ(names[static_cast<size_t>(sheet)], "Duplicates");
  EXPECT_EQ(rig_->model().FilledCells(process_, 0, sheet),
            static_cast<int>(rows.size() + 1) * kDuplicatesColumns);
  const ModelCell* title = rig_->model().CellAt(process_, 0, sheet, 1, 1);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text, "Group");
  for (size_t r = 0; r < rows.size(); ++r) {
    const int row = static_cast<int>(r) + 2;
    const ModelCell* text = rig_->model().CellAt(process_, 0, sheet, row, 3);
    const ModelCell* link = rig_->model().CellAt(process_, 0, sheet, row, 6);
    ASSERT_NE(text, nullptr);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(text->text, rows[r].text);
    EXPECT_EQ(link->formula,
              CellLinkFormula("Names", rows[r].sheetRow, rows[r].sheetColumn));
  }
  EXPECT_EQ(rig_->model().FrozenRows(process_, 0, sheet), 1);
}

TEST_F(DrivenDialogs, FindDuplicates_Cancel_ClosesAndWritesNothing) {
  RunWithUser("fMarrowfieldDuplicates", [&](DialogDriver& d) {
    HWND dialog = d.WaitForDialog(IsDuplicatesDialog);
    ASSERT_NE(dialog, nullptr);
    DialogDriver::ClickLater(dialog, IDCANCEL);
    EXPECT_TRUE(DialogDriver::WaitUntilClosed(dialog));
  });
  EXPECT_EQ(rig_->model().SheetNames(process_, 0),
            std::vector<std::string>{"Names"});
}

TEST_F(DrivenDialogsXlmBlocked, Search_ReadsTheSheet_JumpsToTheBestCell) {
  const Listed expected = Expect("Smith", 60);
  ASSERT_FALSE(expected.items.empty());
  RunWithUser("fMarrowfieldDialog", [&](DialogDriver& d) {
    HWND dialog = d.WaitForDialog(IsSearchDialog);
    ASSERT_NE(dialog, nullptr);
    DialogDriver::SetControlText(dialog, IDC_SEARCH_TEXT, "Smith");
    DialogDriver::Click(dialog, IDOK);
    EXPECT_EQ(DialogDriver::ListItems(dialog, IDC_RESULTS), expected.items);
    EXPECT_EQ(ActiveCell(), expected.cells[0]);
    DialogDriver::Click(dialog, IDC_NEXT);
    EXPECT_EQ(ActiveCell(), expected.cells[1]);
    DialogDriver::Click(dialog, IDCANCEL);
  });
  EXPECT_TRUE(rig_->model().macros(process_).empty());
}

TEST_F(DrivenDialogsNoWorkbook, Search_AsksForAWorkbook_AboutStillShows) {
  RunWithUser("fMarrowfieldDialog", [&](DialogDriver& d) {
    HWND dialog = d.WaitForDialog(IsSearchDialog);
    ASSERT_NE(dialog, nullptr);
    DialogDriver::SetControlText(dialog, IDC_SEARCH_TEXT, "Smith");
    DialogDriver::ClickLater(dialog, IDOK);
    HWND box = d.WaitForDialog("Marrowfield", dialog);
    ASSERT_NE(box, nullptr);
    const auto texts = DialogDriver::StaticTexts(box);
    EXPECT_NE(std::find(texts.begin(), texts.end(),
                        "Please open a workbook for searching"),
              texts.end());
    DialogDriver::Click(box, IDOK);
    EXPECT_TRUE(DialogDriver::WaitUntilClosed(box));
    DialogDriver::Click(dialog, IDCANCEL);
  });
  RunWithUser("fMarrowfieldAbout", [&](DialogDriver& d) {
    HWND about = d.WaitForDialog("About ");
    ASSERT_NE(about, nullptr);
    DialogDriver::Click(about, IDOK);
    EXPECT_TRUE(DialogDriver::WaitUntilClosed(about));
  });
}

}  // namespace
}  // namespace marrowfield
