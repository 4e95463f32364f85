// The driver's messages. Sent messages cross to the UI thread and return
// once handled there, so a test can check the result right after; posted
// ones do not wait, for clicks that open a box which itself must be
// driven.

#include "dialog_driver.h"

#include <commctrl.h>

#include <cstdlib>
#include <fstream>

namespace marrowfield {
namespace {

constexpr ULONGLONG kDeadlineMilliseconds = 20000;
constexpr ULONGLONG kPictureDeadlineMilliseconds = 60000;

bool WaitFor(const std::function<bool()>& done, ULONGLONG deadline) {
  const ULONGLONG start = GetTickCount64();
  while (!done()) {
    if (GetTickCount64() - start > deadline) return false;
    Sleep(20);
  }
  return true;
}

struct Search {
  const std::function<bool(HWND)>* matches;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "#32770" && IsWindowVisible(window) &&
      (*search->matches)(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM context) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "#32770" && IsWindowVisible(window)) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK CollectStatic(HWND window, LPARAM context) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpiA(name, "Static") == 0) {
    reinterpret_cast<std::vector<std::string>*>(context)->push_back(
        DialogDriver::Text(window));
  }
  return TRUE;
}

}  // namespace

bool DialogDriver::WaitUntil(const std::function<bool()>& done) {
  return WaitFor(done, kDeadlineMilliseconds);
}

HWND DialogDriver::WaitForDialog(
    const std::function<bool(HWND)>& matches) const {
  Search search{&matches, nullptr};
  WaitUntil([&] {
    EnumThreadWindows(uiThread_, MatchDialog,
                      reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  });
  return search.found;
}

HWND DialogDriver::WaitForDialog(const std::string& caption, HWND owner) const {
  return WaitForDialog([&](HWND window) {
    return Text(window) == caption &&
           (owner == nullptr || GetWindow(window, GW_OWNER) == owner);
  });
}

bool DialogDriver::WaitUntilClosed(HWND dialog) {
  return WaitUntil([dialog] { return !IsWindow(dialog); });
}

bool DialogDriver::CloseAll() const {
  return WaitUntil([this] {
    std::vector<HWND> open;
    EnumThreadWindows(uiThread_, CollectDialog,
                      reinterpret_cast<LPARAM>(&open));
    // Enumeration lists the topmost first: the box that blocks the others.
    if (!open.empty()) {
      PostMessageA(open.front(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   0);
    }
    return open.empty();
  });
}

std::string DialogDriver::Text(HWND window) {
  char text[1024] = {};
  const LRESULT length = SendMessageA(window, WM_GETTEXT, sizeof text,
                                      reinterpret_cast<LPARAM>(text));
  return std::string(text, static_cast<size_t>(length));
}

std::string DialogDriver::ControlText(HWND dialog, int control) {
  return Text(GetDlgItem(dialog, control));
}

std::vector<std::string> DialogDriver::StaticTexts(HWND dialog) {
  std::vector<std::string> texts;
  EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

void DialogDriver::SetControlText(HWND dialog, int control,
                                  const std::string& text) {
  SendMessageA(GetDlgItem(dialog, control), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(text.c_str()));
}

bool DialogDriver::IsEnabled(HWND dialog, int control) {
  return IsWindowEnabled(GetDlgItem(dialog, control)) != FALSE;
}

void DialogDriver::Click(HWND dialog, int control) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(GetDlgItem(dialog, control), BM_CLICK, 0, 0, SMTO_NORMAL,
                      static_cast<UINT>(kDeadlineMilliseconds), &answer);
}

void DialogDriver::ClickLater(HWND dialog, int control) {
  PostMessageA(GetDlgItem(dialog, control), BM_CLICK, 0, 0);
}

namespace {

// Reads the list's items once; false when the list changed under the read
// (an item gone between the count and its text).
bool ReadListOnce(HWND list, std::vector<std::string>* items) {
  items->clear();
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, i, 0);
    if (length < 0) return false;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
    if (copied < 0 || copied > length) return false;
    text.resize(static_cast<size_t>(copied));
    items->push_back(text);
  }
  return true;
}

}  // namespace

std::vector<std::string> DialogDriver::ListItems(HWND dialog, int control) {
  HWND list = GetDlgItem(dialog, control);
  std::vector<std::string> items;
  // A poll may read while the dialog fills the list on its own thread (the
  // slider's search is posted); a read the filling cut short is made again.
  WaitUntil([&] { return ReadListOnce(list, &items); });
  return items;
}

int DialogDriver::ListSelection(HWND dialog, int control) {
  return static_cast<int>(
      SendDlgItemMessageA(dialog, control, LB_GETCURSEL, 0, 0));
}

void DialogDriver::PickListItem(HWND dialog, int control, int index) {
  HWND list = GetDlgItem(dialog, control);
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // Selecting by message does not notify; a click does.
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(control, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
}

int DialogDriver::SliderPosition(HWND dialog, int control) {
  return static_cast<int>(
      SendDlgItemMessageA(dialog, control, TBM_GETPOS, 0, 0));
}

void DialogDriver::ReleaseSlider(HWND dialog, int control, int position) {
  HWND slider = GetDlgItem(dialog, control);
  SendMessageA(slider, TBM_SETPOS, TRUE, position);
  SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position),
               reinterpret_cast<LPARAM>(slider));
  SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
               reinterpret_cast<LPARAM>(slider));
}

namespace {

// Puts the display's pointer at |point| of |dialog|'s client area, so that
// the moves the display itself reports agree with ours, and tells the
// dialog.
void MoveTo(HWND dialog, POINT point) {
  POINT onScreen = point;
  ClientToScreen(dialog, &onScreen);
  SetCursorPos(onScreen.x, onScreen.y);
  SendMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
}

}  // namespace

void DialogDriver::HoverOver(HWND dialog, int control) {
  RECT rect{};
  GetWindowRect(GetDlgItem(dialog, control), &rect);
  POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ScreenToClient(dialog, &point);
  MoveTo(dialog, point);
}

void DialogDriver::HoverAway(HWND dialog) { MoveTo(dialog, POINT{1, 1}); }

bool DialogDriver::HoverUntil(HWND dialog, int control,
                              const std::function<bool()>& shown) {
  return WaitUntil([&] {
    if (control == 0) {
      HoverAway(dialog);
    } else {
      HoverOver(dialog, control);
    }
    return shown();
  });
}

COLORREF DialogDriver::StaticTextColour(HWND dialog, int control) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(1, 2, 3));
  SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
  const COLORREF colour = GetTextColor(dc);
  DeleteDC(dc);
  return colour;
}

void DialogDriver::PauseForPicture(HWND window, const std::string& name) {
  const char* folder = std::getenv("MARROWFIELD_SHOT_DIR");
  if (folder == nullptr || *folder == '\0') return;
  RedrawWindow(
      window, nullptr, nullptr,
      RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT rect{};
  GetWindowRect(window, &rect);
  const std::string base = std::string(folder) + "\\" + name;
  {
    std::ofstream ready(base + ".part");
    ready << rect.left << ' ' << rect.top << ' ' << rect.right - rect.left
          << ' ' << rect.bottom - rect.top << '\n';
  }
  // Whole or not at all: the script may look at any moment.
  MoveFileA((base + ".part").c_str(), (base + ".ready").c_str());
  const std::string done = base + ".done";
  WaitFor(
      [&] {
        return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES;
      },
      kPictureDeadlineMilliseconds);
}

}  // namespace marrowfield
