// The search dialog's handlers. Every host call goes through the bridge's
// sheet reading and cell jump; every score through the sheet search, so
// the dialog and the command-line program agree cell for cell.

#include "search_dialog.h"

#include <algorithm>
#include <utility>

#include "debug_output.h"
#include "marrowfield/cell_scorer.h"
#include "resources/resource_ids.h"
#include "search_dialog_view.h"
#include "sheet_cells.h"
#include "shell.h"
#include "web_addresses.h"

namespace marrowfield {
namespace {

constexpr int32_t kSearchButton = 1;  // IDOK: "&Search", and Enter
constexpr int32_t kCloseButton = 2;   // IDCANCEL: "Close", Escape, close box

// Keeps the dialog from redrawing while the list is rebuilt, and lets it
// redraw however the search ends: a window left locked would stop the
// host's screen from updating.
class UpdateLock {
 public:
  explicit UpdateLock(SearchDialogView& view) : view_(view) {
    view_.LockUpdates();
  }
  ~UpdateLock() {
    try {
      view_.UnlockUpdates();
    } catch (...) {
    }
  }
  UpdateLock(const UpdateLock&) = delete;
  UpdateLock& operator=(const UpdateLock&) = delete;

 private:
  SearchDialogView& view_;
};

}  // namespace

std::string ResultListItem(const SearchResult& result) {
  return result.cellText + "  (" + std::to_string(result.score) + "%)";
}

SearchDialog::SearchDialog(ApplicationSource application, Shell& shell,
                           DebugOutput& debug)
    : application_(std::move(application)), shell_(shell), debug_(debug) {}

template <typename Handler>
void SearchDialog::Guarded(Handler&& handler) noexcept {
  // After a failure the window may still deliver a queued message or two
  // before it closes; they find nothing to do.
  if (view_ == nullptr || failure_) return;
  try {
    handler();
  } catch (...) {
    failure_ = std::current_exception();
    try {
      view_->EndDialog(kEndedByFailure);
    } catch (...) {
    }
  }
}

void SearchDialog::Initialise(SearchDialogView& view,
                              const std::string& versionText) noexcept {
  view_ = &view;
  failure_ = nullptr;
  Guarded([this, &versionText] {
    logoHovered_ = false;
    threshold_ = kInitialThreshold;
    view_->SetAccuracy(threshold_);
    view_->ShowIcon();
    foundAny_ = false;
    noData_ = true;
    currentIndex_ = -1;
    view_->SetSearchText(searchText_);
    view_->EnablePrev(false);
    view_->EnableNext(false);
    view_->FocusSearchField();
    view_->SetCaption("Marrowfield " + versionText);
  });
}

void SearchDialog::OnCommand(int32_t controlId, int32_t notification) noexcept {
  Guarded([this, controlId, notification] {
    if (controlId == kCloseButton) {
      view_->EndDialog(kCloseButton);
      return;
    }
    if (controlId == IDC_RESULTS) {
      if (notification == kListSelectionChanged) SelectResult();
      return;
    }
    if (notification != kButtonClicked) return;
    switch (controlId) {
      case kSearchButton:
        RunSearch();
        break;
      case IDC_NEXT:
        Next();
        break;
      case IDC_PREV:
        Prev();
        break;
      case IDC_ABOUT_BUTTON:
        view_->ShowAboutDialog();
        break;
      case IDC_HELP_BUTTON:
        OpenWebPage(shell_, UsageHelpAddress());
        break;
      case IDC_FEEDBACK:
        OpenWebPage(shell_, FeedbackAddress());
        break;
      case IDC_REPORT_BUG:
        debug_.Write("In REPORT A BUG  Button Click\n");
        OpenWebPage(shell_, BugReportAddress());
        break;
      default:
        break;
    }
  });
}

void SearchDialog::OnAccuracyScroll(int32_t code) noexcept {
  // Only the release of the slider searches again; the positions passed
  // while dragging would each start a search of the whole sheet.
  if (code != kTrackbarEndTracking) return;
  Guarded([this] {
    threshold_ = std::clamp<int32_t>(view_->Accuracy(), 0, 100);
    view_->PostSearchClick();
  });
}

void SearchDialog::OnMouseMove(const ClientPoint& point) noexcept {
  Guarded([this, &point] {
    const bool hovered = Contains(view_->LogoRectangle(), point);
    if (hovered != logoHovered_) {
      logoHovered_ = hovered;
      view_->RepaintLogo();
    }
    view_->SetCursor(hovered ? CursorKind::kHand : CursorKind::kArrow);
  });
}

void SearchDialog::OnLeftButtonDown(const ClientPoint& point) noexcept {
  Guarded([this, &point] {
    if (Contains(view_->LogoRectangle(), point)) {
      OpenWebPage(shell_, productSiteUrl);
    }
  });
}

void SearchDialog::TakeFailure() {
  std::exception_ptr failure = std::move(failure_);
  failure_ = nullptr;
  if (failure) std::rethrow_exception(failure);
}

void SearchDialog::RunSearch() {
  std::string text = view_->SearchText();
  if (text.size() > kMaxSearchTextLength) text.resize(kMaxSearchTextLength);
  if (text.empty()) {
    view_->ShowMessage("Please enter the search string");
    view_->FocusSearchField();
    return;
  }
  results_.clear();
  UpdateLock lock(*view_);
  view_->ClearList();
  currentIndex_ = -1;
  foundAny_ = false;
  noData_ = true;
  UpdatePrevNext();
  searchText_ = std::move(text);

  HostObject application = application_();
  CollectMatches(application);
  if (!foundAny_) {
    view_->AddListItem(noData_ ? "No Data to Search" : "No Matches Found");
    return;
  }
  for (const SearchResult& result : results_) {
    view_->AddListItem(ResultListItem(result));
  }
  currentIndex_ = 0;
  view_->SelectListItem(0);
  GoToResult(0);
  UpdatePrevNext();
}

void SearchDialog::CollectMatches(HostObject& application) {
  const ActiveSheetValues sheet = ReadActiveSheet(application);
  if (!sheet.found) {
    view_->ShowMessage("Please open a workbook for searching");
    view_->FocusSearchField();
    return;
  }
  if (!sheet.worksheet) {
    // A chart sheet is active: there are no cells to search.
    view_->ShowMessage("Please open a worksheet for searching");
    view_->FocusSearchField();
    return;
  }
  // Sheets repeat their values; each distinct text is scored once. The
  // texts are ANSI, which Excel writes in Windows-1252; they are folded from
  // it, so that José in a cell sounds like Jose.
  CompareWordsScorer engine(searchText_, TextFolding::kWindows1252);
  RememberingScorer scorer(engine);
  SheetSearch search(scorer, threshold_);
  search.CollectMatches(ToCellGrid(sheet.value), sheet.sheetIndex);
  search.SortResults();
  results_ = search.results();
  foundAny_ = search.foundAny();
  noData_ = search.noData();
}

void SearchDialog::UpdatePrevNext() {
  const int32_t count = view_->ListCount();
  view_->EnableNext(currentIndex_ >= 0 && currentIndex_ < count - 1);
  view_->EnablePrev(currentIndex_ > 0 && count > 0);
}

void SearchDialog::Next() { MoveBy(1); }

void SearchDialog::Prev() { MoveBy(-1); }

void SearchDialog::MoveBy(int32_t delta) {
  const int32_t target = currentIndex_ + delta;
  if (target < 0 || !view_->SelectListItem(target)) return;
  currentIndex_ = target;
  view_->FocusSearchField();
  UpdatePrevNext();
  GoToResult(static_cast<std::size_t>(currentIndex_));
}

void SearchDialog::SelectResult() {
  currentIndex_ = view_->ListSelection();
  // A notice item ("No Matches Found", "No Data to Search") is no result.
  if (currentIndex_ < 0 || currentIndex_ >= view_->ListCount() || !foundAny_ ||
      noData_) {
    return;
  }
  UpdatePrevNext();
  GoToResult(static_cast<std::size_t>(currentIndex_));
}

void SearchDialog::GoToResult(std::size_t index) {
  if (index >= results_.size()) return;
  const SearchResult& result = results_[index];
  HostObject application = application_();
  ActivateFoundCell(application, result.sheetIndex, result.row, result.column);
}

}  // namespace marrowfield
