// DialogDriver: plays the user against the add-in's modal dialogs. The
// dialogs run their message loop on the test's main thread (inside the
// command it called); the driver works from a second thread through the
// controls' own messages, as assistive tools do, and every wait has a
// deadline so a missing window fails the test instead of hanging it.

#ifndef MARROWFIELD_TESTS_WIN_WIN32_DIALOG_DRIVER_H_
#define MARROWFIELD_TESTS_WIN_WIN32_DIALOG_DRIVER_H_

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace marrowfield {

class DialogDriver {
 public:
  // Drives the dialogs of thread |uiThread|.
  explicit DialogDriver(DWORD uiThread) : uiThread_(uiThread) {}

  // Waits until |done| holds; false when it still does not after the
  // deadline.
  static bool WaitUntil(const std::function<bool()>& done);

  // A visible dialog of the UI thread that |matches|; null after the
  // deadline.
  HWND WaitForDialog(const std::function<bool(HWND)>& matches) const;
  // One whose caption is |caption| and whose owner is |owner| (any owner
  // when null).
  HWND WaitForDialog(const std::string& caption, HWND owner = nullptr) const;
  // Waits until |dialog| is gone.
  static bool WaitUntilClosed(HWND dialog);
  // Cancels every dialog and message box of the UI thread, innermost
  // first, until none is left; false if some remain after the deadline.
  bool CloseAll() const;

  static std::string Text(HWND window);
  static std::string ControlText(HWND dialog, int control);
  // The texts of |dialog|'s static controls, in child order.
  static std::vector<std::string> StaticTexts(HWND dialog);
  static void SetControlText(HWND dialog, int control, const std::string& text);
  static bool IsEnabled(HWND dialog, int control);

  // Clicks the button and returns once the click has been handled (or,
  // should it open a box nobody closes, after the deadline).
  static void Click(HWND dialog, int control);
  // Clicks the button without waiting: for a click that opens a modal box.
  static void ClickLater(HWND dialog, int control);

  static std::vector<std::string> ListItems(HWND dialog, int control);
  static int ListSelection(HWND dialog, int control);
  // Selects item |index| as a user's click does, notifying the dialog.
  static void PickListItem(HWND dialog, int control, int index);

  static int SliderPosition(HWND dialog, int control);
  // Drags the slider to |position| and lets go.
  static void ReleaseSlider(HWND dialog, int control, int position);

  // Moves the mouse over the middle of |control|, the display's pointer
  // as well as the message the dialog sees.
  static void HoverOver(HWND dialog, int control);
  // Moves it to the dialog's top-left corner, off every control.
  static void HoverAway(HWND dialog);
  // Hovers over |control| (HoverAway when |control| is 0) until |shown|
  // holds; false when it still does not after the deadline. The move is
  // made again at each look: on a busy machine the display may deliver a
  // move from where its pointer was before, after ours, and undo it.
  static bool HoverUntil(HWND dialog, int control,
                         const std::function<bool()>& shown);
  // The text colour |dialog| gives static |control| when asked.
  static COLORREF StaticTextColour(HWND dialog, int control);

  // When the environment names a folder in MARROWFIELD_SHOT_DIR: writes
  // "<name>.ready" there with |window|'s screen rectangle ("x y w h") and
  // waits for "<name>.done", so a script can photograph the screen.
  static void PauseForPicture(HWND window, const std::string& name);

 private:
  DWORD uiThread_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_WIN_WIN32_DIALOG_DRIVER_H_
