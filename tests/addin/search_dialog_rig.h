// SearchDialogRig: the search dialog logic with a fake window and shell,
// talking to a fake Excel (one process, a workbook of one worksheet
// "Names") through the native automation port, and scoring with the real
// engine. Expected lists are worked out here independently: every text
// cell scored with compare_words, kept at the level, put in result order
// and formatted by hand.

#ifndef MARROWFIELD_TESTS_ADDIN_SEARCH_DIALOG_RIG_H_
#define MARROWFIELD_TESTS_ADDIN_SEARCH_DIALOG_RIG_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "fake_automation_port.h"
#include "fake_dialog_views.h"
#include "fake_excel_model.h"
#include "fake_ports.h"
#include "fake_shell.h"
#include "marrowfield.h"
#include "marrowfield/text_folding.h"
#include "resources/resource_ids.h"
#include "search_dialog.h"

namespace marrowfield {

class SearchDialogRig : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(initialize(), 0); }
  static void TearDownTestSuite() { un_initialize(); }

  SearchDialogRig()
      : port_(model_),
        process_(model_.AddProcess(
            [](const std::string&, int32_t*) { return false; })),
        dialog_([this] { return Application(); }, shell_, debug_) {}

  HostObject Application() {
    if (!connected_) return HostObject();
    return HostObject(port_, FakeHandle(model_.ApplicationObject(process_)),
                      false);
  }

  // A workbook with the worksheet "Names", active.
  void AddSheet() {
    book_ = model_.AddWorkbook(process_, "C:\\Books\\names.xlsx");
    sheet_ = model_.AddWorksheet(process_, book_, "Names");
  }
  // |row|, |column| in sheet coordinates.
  void Text(int row, int column, const std::string& text) {
    model_.SetText(process_, book_, sheet_, row, column, text);
    cells_.push_back({row, column, text});
  }
  void Number(int row, int column, double number) {
    model_.SetNumber(process_, book_, sheet_, row, column, number);
  }

  void Open() { dialog_.Initialise(view_, "2.5"); }
  void Search(const std::string& text) {
    view_.searchField = text;
    view_.Click(dialog_, 1);
  }

  struct Expected {
    std::vector<std::string> items;
    std::vector<std::pair<int, int>> cells;  // sheet row, column of each
  };
  // The list a search for |text| at |level| must give, sheet cells in the
  // order they were added (which the tests keep in row, column order).
  Expected Expect(const std::string& text, int level) const {
    std::vector<std::pair<SearchResult, std::pair<int, int>>> kept;
    for (const Cell& cell : cells_) {
      if (cell.text.empty()) continue;
      SearchResult result;
      result.cellText = cell.text;
      // The dialog folds Excel's ANSI text (Windows-1252) before scoring.
      result.score = compare_words(
          FoldToAscii(text, TextFolding::kWindows1252).c_str(),
          FoldToAscii(cell.text, TextFolding::kWindows1252).c_str());
      if (result.score >= level) {
        kept.push_back({result, {cell.row, cell.column}});
      }
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const auto& a, const auto& b) {
                       return ResultBefore(a.first, b.first);
                     });
    Expected expected;
    for (const auto& entry : kept) {
      char line[512];
      std::snprintf(line, sizeof line, "%s  (%d%%)",
                    entry.first.cellText.c_str(), entry.first.score);
      expected.items.push_back(line);
      expected.cells.push_back(entry.second);
    }
    return expected;
  }

  std::pair<int, int> ActiveCell() const {
    const auto cell = model_.ActiveCellOf(process_);
    return {cell.row, cell.column};
  }
  int Activations() const {
    int count = 0;
    for (const InvokeRecord& record : model_.invokes()) {
      if (record.member == 0x0130) ++count;
    }
    return count;
  }

  struct Cell {
    int row;
    int column;
    std::string text;
  };

  FakeExcelModel model_;
  FakeAutomationPort port_;
  int process_;
  int book_ = -1;
  int sheet_ = -1;
  bool connected_ = true;
  std::vector<Cell> cells_;
  FakeShell shell_;
  FakeDebugOutput debug_;
  FakeSearchView view_;
  SearchDialog dialog_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_ADDIN_SEARCH_DIALOG_RIG_H_
