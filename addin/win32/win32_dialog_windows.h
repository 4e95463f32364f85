// Win32DialogWindows: the DialogWindows port over Windows dialog boxes.

#ifndef MARROWFIELD_ADDIN_WIN32_WIN32_DIALOG_WINDOWS_H_
#define MARROWFIELD_ADDIN_WIN32_WIN32_DIALOG_WINDOWS_H_

#include "dialog_windows.h"

namespace marrowfield {

class Shell;

class Win32DialogWindows : public DialogWindows {
 public:
  // |shell| opens the About dialog's links when the search dialog shows
  // it; it must outlive this object.
  explicit Win32DialogWindows(Shell& shell) : shell_(shell) {}

  void RunSearchWindow(SearchDialog& dialog,
                       const std::string& versionText) noexcept override;
  void RunAboutWindow(AboutDialog& dialog) noexcept override;
  void RunDuplicatesWindow(DuplicatesDialog& dialog) noexcept override;

 private:
  Shell& shell_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_WIN32_DIALOG_WINDOWS_H_
