// SearchDialog: the search dialog's behaviour, apart from its window. The
// user types a word or name; the dialog reads the text cells of the host's
// active worksheet, keeps those that sound like it at the chosen accuracy,
// lists them best first with their score, and has the host jump to the
// chosen one. One object lives while the add-in is loaded: its window is
// made anew at each opening, its search text is kept between them.

#ifndef MARROWFIELD_ADDIN_SEARCH_DIALOG_H_
#define MARROWFIELD_ADDIN_SEARCH_DIALOG_H_

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "dialog_geometry.h"
#include "host_object.h"
#include "marrowfield/sheet_search.h"

namespace marrowfield {

class DebugOutput;
class SearchDialogView;
class Shell;

// The longest search text; longer input is cut to it.
constexpr std::size_t kMaxSearchTextLength = 255;
// The accuracy level each opening starts with.
constexpr int32_t kInitialThreshold = 60;
// What the dialog ends with when a host call failed (Close ends it with 2).
constexpr int32_t kEndedByFailure = -2;

// Notification codes the window system sends with a control's message.
constexpr int32_t kButtonClicked = 0;         // BN_CLICKED
constexpr int32_t kListSelectionChanged = 1;  // LBN_SELCHANGE
constexpr int32_t kTrackbarEndTracking = 8;   // TB_ENDTRACK

class SearchDialog {
 public:
  // Yields the host's Application each time the dialog needs it: a null
  // object when the add-in is not connected.
  using ApplicationSource = std::function<HostObject()>;

  // |shell| and |debug| must outlive the dialog.
  SearchDialog(ApplicationSource application, Shell& shell, DebugOutput& debug);
  SearchDialog(const SearchDialog&) = delete;
  SearchDialog& operator=(const SearchDialog&) = delete;

  // What the window reports. None of these throws: an error raised while
  // handling one (a failing host call) ends the dialog with kEndedByFailure
  // and waits in TakeFailure().

  // The window was made: starts the opening with threshold 60, no selected
  // result, Prev and Next disabled, the kept search text in the field and
  // "Marrowfield |versionText|" as the caption. |view| must stay valid until
  // Detach().
  void Initialise(SearchDialogView& view,
                  const std::string& versionText) noexcept;
  // The window is gone; the dialog keeps its data for the next opening.
  void Detach() noexcept { view_ = nullptr; }
  // A button or the result list sent |notification|.
  void OnCommand(int32_t controlId, int32_t notification) noexcept;
  // The accuracy slider sent scroll |code|.
  void OnAccuracyScroll(int32_t code) noexcept;
  // The mouse at |point|: the logo, where it is now, is hovered or not.
  void OnMouseMove(const ClientPoint& point) noexcept;
  // A click at |point|: on the logo (where it is now) opens the product
  // site.
  void OnLeftButtonDown(const ClientPoint& point) noexcept;

  // Rethrows, once, the error that ended the dialog; nothing when none did.
  void TakeFailure();

  // The steps behind the events. Each throws HostCallError when a host call
  // fails. REQUIRES: Initialise() was called and Detach() not since.
  void RunSearch();
  void Next();
  void Prev();
  void SelectResult();
  // Has the host activate the cell of result |index|.
  void GoToResult(std::size_t index);

  int32_t threshold() const { return threshold_; }
  const std::vector<SearchResult>& results() const { return results_; }
  int32_t currentIndex() const { return currentIndex_; }
  bool foundAny() const { return foundAny_; }
  bool noData() const { return noData_; }
  const std::string& searchText() const { return searchText_; }
  bool logoHovered() const { return logoHovered_; }

 private:
  template <typename Handler>
  void Guarded(Handler&& handler) noexcept;
  // Runs the sheet search over the active sheet into the fields.
  void CollectMatches(HostObject& application);
  void UpdatePrevNext();
  void MoveBy(int32_t delta);

  ApplicationSource application_;
  Shell& shell_;
  DebugOutput& debug_;
  SearchDialogView* view_ = nullptr;
  std::exception_ptr failure_;

  int32_t threshold_ = kInitialThreshold;
  std::vector<SearchResult> results_;
  int32_t currentIndex_ = -1;
  bool foundAny_ = false;
  bool noData_ = true;
  std::string searchText_;
  bool logoHovered_ = false;
};

// "text  (score%)", as each result is listed.
std::string ResultListItem(const SearchResult& result);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_SEARCH_DIALOG_H_
