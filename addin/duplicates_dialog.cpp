// The Find duplicates dialog's handlers. The one read of the sheet happens
// at opening; the dedupe runs on the job's thread; the sheet is written
// from the timer's handler, on the host's thread, once the job has ended.

#include "duplicates_dialog.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "duplicates_dialog_view.h"
#include "resources/resource_ids.h"

namespace marrowfield {
namespace {

constexpr int32_t kFindButton = 1;        // IDOK: "&Find", and Enter
constexpr int32_t kCancelButton = 2;      // IDCANCEL: Cancel, Escape, close box
constexpr int32_t kButtonClicked = 0;     // BN_CLICKED
constexpr int32_t kSelectionChanged = 1;  // CBN_SELCHANGE
constexpr int32_t kStartingAccuracy = 60;

// The letters of sheet column |column| ("A", "AB").
std::string ColumnLetters(int32_t column) {
  const std::string address = CellAddress(1, column);
  return address.substr(0, address.size() - 1);
}

}  // namespace

DuplicatesDialog::DuplicatesDialog(ApplicationSource application, int threads)
    : application_(std::move(application)), threads_(threads) {}

DuplicatesDialog::~DuplicatesDialog() { StopWork(); }

template <typename Handler>
void DuplicatesDialog::Guarded(Handler&& handler) noexcept {
  if (view_ == nullptr || failure_) return;
  try {
    handler();
  } catch (...) {
    failure_ = std::current_exception();
    StopWork();
    try {
      view_->StopTimer();
      view_->EndDialog(kDuplicatesFailed);
    } catch (...) {
    }
  }
}

void DuplicatesDialog::Initialise(DuplicatesDialogView& view) noexcept {
  view_ = &view;
  failure_ = nullptr;
  writtenSheet_.clear();
  Guarded([this] {
    HostObject application = application_();
    source_ = ReadDuplicatesSource(application);
    if (!source_.found) {
      view_->ShowMessage("Please open a workbook to find duplicates in");
      view_->EndDialog(kDuplicatesClosed);
      return;
    }
    if (!source_.worksheet || source_.cells.columns == 0) {
      view_->ShowMessage(
          "Please open a worksheet with cells to find "
          "duplicates in");
      view_->EndDialog(kDuplicatesClosed);
      return;
    }
    std::vector<std::string> items;
    for (int32_t c = 1; c <= source_.cells.columns; ++c) {
      items.push_back(ColumnItem(c));
    }
    const int32_t column =
        DefaultDuplicatesColumn(source_.cells, source_.activeColumn);
    view_->SetColumns(items, column - 1);
    view_->SetAccuracy(kStartingAccuracy);
    view_->SetTolerant(false);
    view_->SetWholeCell(false);
    view_->ShowWorking(false);
    ShowColumnHeader();
  });
}

std::string DuplicatesDialog::ColumnItem(int32_t column) const {
  std::string item = "Column " + ColumnLetters(source_.cells.left + column - 1);
  if (FirstRowIsHeader(source_.cells, column)) {
    item += ": " + source_.cells.TextAt(1, column);
  }
  return item;
}

void DuplicatesDialog::ShowColumnHeader() {
  const int32_t column = view_->SelectedColumn() + 1;
  const bool header = FirstRowIsHeader(source_.cells, column);
  view_->SetHeader(header);
  view_->SetNote(header
                     ? "The first row, \"" + source_.cells.TextAt(1, column) +
                           "\", is taken as the header and not searched."
                     : "Every row is searched; the first row is no "
                       "header.");
}

void DuplicatesDialog::Detach() noexcept {
  StopWork();
  view_ = nullptr;
}

void DuplicatesDialog::StopWork() {
  if (job_ == nullptr) return;
  job_->Cancel();
  job_.reset();  // waits for the thread
}

void DuplicatesDialog::WaitForWork() {
  if (job_ != nullptr) job_->Wait();
}

void DuplicatesDialog::OnCommand(int32_t controlId,
                                 int32_t notification) noexcept {
  Guarded([this, controlId, notification] {
    if (controlId == IDC_DUP_COLUMN) {
      if (notification == kSelectionChanged && job_ == nullptr) {
        ShowColumnHeader();
      }
      return;
    }
    if (notification != kButtonClicked) return;
    if (controlId == kCancelButton) {
      if (job_ == nullptr) {
        view_->EndDialog(kDuplicatesClosed);
        return;
      }
      // The job stops within milliseconds; its end is collected by the
      // timer, which then writes nothing.
      cancelled_ = true;
      job_->Cancel();
      return;
    }
    if (controlId == kFindButton && job_ == nullptr) StartFind();
  });
}

void DuplicatesDialog::StartFind() {
  DuplicatesChoice choice;
  choice.column = std::clamp<int32_t>(view_->SelectedColumn() + 1, 1,
                                      source_.cells.columns);
  choice.header = view_->Header();
  choice.accuracy = std::clamp<int32_t>(view_->Accuracy(), 0, 100);
  choice.scoring.mode =
      view_->Tolerant() ? MF_SCORING_TOLERANT : MF_SCORING_STRICT;
  choice.scoring.wholeCell = view_->WholeCell();
  cancelled_ = false;
  view_->ShowWorking(true);
  view_->SetProgress(0);
  // The job gets its own copy of the one column it reads.
  UsedCells column = ColumnOf(source_.cells, choice.column);
  choice.column = 1;
  job_ = std::make_unique<DuplicatesJob>(std::move(column), choice, threads_);
  view_->StartTimer();
}

void DuplicatesDialog::OnTimer() noexcept {
  Guarded([this] {
    if (job_ == nullptr) return;
    view_->SetProgress(job_->Percent());
    if (job_->Done()) FinishFind();
  });
}

void DuplicatesDialog::FinishFind() {
  std::unique_ptr<DuplicatesJob> job = std::move(job_);
  view_->StopTimer();
  std::vector<DuplicateRow> rows;
  try {
    rows = job->TakeRows();
  } catch (const DedupeCancelled&) {
    cancelled_ = true;
  }
  // A cancel that came after the work ended still cancels: the user asked
  // for the workbook to stay as it is.
  if (cancelled_) {
    cancelled_ = false;
    view_->ShowWorking(false);
    view_->SetProgress(0);
    return;
  }
  if (rows.empty()) {
    view_->ShowWorking(false);
    view_->ShowMessage("No duplicates found");
    return;
  }
  HostObject application = application_();
  writtenSheet_ = WriteDuplicatesSheet(
      application, DuplicatesArray(rows, source_.sheetName));
  view_->EndDialog(kDuplicatesWritten);
}

void DuplicatesDialog::TakeFailure() {
  std::exception_ptr failure = std::move(failure_);
  failure_ = nullptr;
  if (failure) std::rethrow_exception(failure);
}

}  // namespace marrowfield
