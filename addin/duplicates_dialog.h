// DuplicatesDialog: the Find duplicates dialog's behaviour, apart from its
// window. At opening it reads the active sheet's used range once; the user
// chooses a column (the active cell's by default), whether its first row
// is a header (guessed, and said so), the accuracy, strict or tolerant
// scoring and word by word or whole cells; Find dedupes the column on a
// worker thread while the dialog shows progress, then writes the groups to
// a new worksheet, or says "No duplicates found". Cancel during the work
// stops it and leaves the workbook as it was. Every host call is made on
// the thread that calls the handlers, the host's own.

#ifndef MARROWFIELD_ADDIN_DUPLICATES_DIALOG_H_
#define MARROWFIELD_ADDIN_DUPLICATES_DIALOG_H_

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "duplicates_host.h"
#include "duplicates_job.h"
#include "host_object.h"

namespace marrowfield {

class DuplicatesDialogView;

// What the dialog ends with: the sheet written, closed, or a host call
// failed.
constexpr int32_t kDuplicatesWritten = 1;
constexpr int32_t kDuplicatesClosed = 2;
constexpr int32_t kDuplicatesFailed = -2;

class DuplicatesDialog {
 public:
  using ApplicationSource = std::function<HostObject()>;

  // |threads| for the dedupe (0: the hardware's concurrency).
  explicit DuplicatesDialog(ApplicationSource application, int threads = 0);
  ~DuplicatesDialog();
  DuplicatesDialog(const DuplicatesDialog&) = delete;
  DuplicatesDialog& operator=(const DuplicatesDialog&) = delete;

  // What the window reports. None of these throws: an error raised while
  // handling one ends the dialog with kDuplicatesFailed and waits in
  // TakeFailure().

  // The window was made: reads the active sheet and fills the choices.
  // With no worksheet to read, or one without cells, says so and ends.
  // |view| must stay valid until Detach().
  void Initialise(DuplicatesDialogView& view) noexcept;
  // The window is going: stops and forgets any work.
  void Detach() noexcept;
  // A button or the column list sent |notification|.
  void OnCommand(int32_t controlId, int32_t notification) noexcept;
  // The view's timer: shows progress and, once the work has ended, writes
  // its result.
  void OnTimer() noexcept;

  // Rethrows, once, the error that ended the dialog; nothing when none did.
  void TakeFailure();

  // Whether work is running; and waiting for it to end (for tests and
  // for closing).
  bool working() const { return job_ != nullptr; }
  void WaitForWork();
  // The sheet the last Find wrote; "" when none.
  const std::string& writtenSheet() const { return writtenSheet_; }

 private:
  template <typename Handler>
  void Guarded(Handler&& handler) noexcept;
  void StartFind();
  void FinishFind();
  void StopWork();
  void ShowColumnHeader();
  // The list item of used-range column |column|: its letter and, when it
  // has a header, the header's text.
  std::string ColumnItem(int32_t column) const;

  ApplicationSource application_;
  int threads_;
  DuplicatesDialogView* view_ = nullptr;
  std::exception_ptr failure_;
  DuplicatesSource source_;
  std::unique_ptr<DuplicatesJob> job_;
  bool cancelled_ = false;
  std::string writtenSheet_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_DUPLICATES_DIALOG_H_
