// DuplicatesDialogView: the port through which Find duplicates' dialog
// logic works its window: the column list, the header box and its note,
// the accuracy slider, the scoring and cell choices, the progress bar, a
// timer to poll the work with, and message boxes. The Windows view sits
// over the dialog made from template IDD_DUPLICATES_DIALOG; tests use a
// fake that records what the logic asked for.

#ifndef MARROWFIELD_ADDIN_DUPLICATES_DIALOG_VIEW_H_
#define MARROWFIELD_ADDIN_DUPLICATES_DIALOG_VIEW_H_

#include <cstdint>
#include <string>
#include <vector>

namespace marrowfield {

class DuplicatesDialogView {
 public:
  virtual ~DuplicatesDialogView() = default;

  // Closes the dialog; the call that showed it returns |result|.
  virtual void EndDialog(int32_t result) = 0;
  // A message box owned by the dialog, captioned "Marrowfield", with the
  // information icon and an OK button; returns when the user closes it.
  virtual void ShowMessage(const std::string& text) = 0;

  // The column list: |items| in order, item |selected| (from 0) chosen.
  virtual void SetColumns(const std::vector<std::string>& items,
                          int32_t selected) = 0;
  virtual int32_t SelectedColumn() = 0;
  // The "First row is a header" box and the note beside it.
  virtual void SetHeader(bool header) = 0;
  virtual bool Header() = 0;
  virtual void SetNote(const std::string& text) = 0;
  // The accuracy slider, 0-100.
  virtual void SetAccuracy(int32_t position) = 0;
  virtual int32_t Accuracy() = 0;
  // Tolerant (else strict) scoring; whole cells (else word by word).
  virtual void SetTolerant(bool tolerant) = 0;
  virtual bool Tolerant() = 0;
  virtual void SetWholeCell(bool wholeCell) = 0;
  virtual bool WholeCell() = 0;

  // While working, the choices and the Find button are disabled, the
  // progress bar shows, and Cancel stops the work instead of closing.
  virtual void ShowWorking(bool working) = 0;
  virtual void SetProgress(int32_t percent) = 0;
  // A timer that calls DuplicatesDialog::OnTimer now and then until
  // stopped.
  virtual void StartTimer() = 0;
  virtual void StopTimer() = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_DUPLICATES_DIALOG_VIEW_H_
