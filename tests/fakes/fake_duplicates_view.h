// FakeDuplicatesView: the Find duplicates dialog's window as a record of
// what the logic asked of it, with fields a test sets as a user would.

#ifndef MARROWFIELD_TESTS_FAKES_FAKE_DUPLICATES_VIEW_H_
#define MARROWFIELD_TESTS_FAKES_FAKE_DUPLICATES_VIEW_H_

#include <cstdint>
#include <string>
#include <vector>

#include "duplicates_dialog.h"
#include "duplicates_dialog_view.h"

namespace marrowfield {

class FakeDuplicatesView : public DuplicatesDialogView {
 public:
  void EndDialog(int32_t result) override {
    ended = true;
    endResult = result;
  }
  void ShowMessage(const std::string& text) override {
    messages.push_back(text);
  }
  void SetColumns(const std::vector<std::string>& items,
                  int32_t selected) override {
    columns = items;
    column = selected;
  }
  int32_t SelectedColumn() override { return column; }
  void SetHeader(bool on) override { header = on; }
  bool Header() override { return header; }
  void SetNote(const std::string& text) override { note = text; }
  void SetAccuracy(int32_t position) override { accuracy = position; }
  int32_t Accuracy() override { return accuracy; }
  void SetTolerant(bool on) override { tolerant = on; }
  bool Tolerant() override { return tolerant; }
  void SetWholeCell(bool on) override { wholeCell = on; }
  bool WholeCell() override { return wholeCell; }
  void ShowWorking(bool on) override { working = on; }
  void SetProgress(int32_t percent) override { progress.push_back(percent); }
  void StartTimer() override { timer = true; }
  void StopTimer() override { timer = false; }

  // Clicks a button of the dialog (IDOK 1 is Find, IDCANCEL 2 Cancel).
  void Click(DuplicatesDialog& dialog, int32_t control) {
    dialog.OnCommand(control, 0);
  }
  // Lets the work end and the timer collect it, as the window's timer
  // would.
  void Finish(DuplicatesDialog& dialog) {
    dialog.WaitForWork();
    while (timer && dialog.working()) dialog.OnTimer();
  }

  bool ended = false;
  int32_t endResult = 0;
  std::vector<std::string> messages;
  std::vector<std::string> columns;
  int32_t column = -1;
  bool header = false;
  std::string note;
  int32_t accuracy = -1;
  bool tolerant = false;
  bool wholeCell = false;
  bool working = false;
  std::vector<int32_t> progress;
  bool timer = false;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FAKES_FAKE_DUPLICATES_VIEW_H_
