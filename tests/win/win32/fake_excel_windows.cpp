// The fake Excel's window classes and their window procedure. The Window
// object handed out for OBJID_NATIVEOM is a new model object each time;
// LresultFromObject keeps its own reference until the asker takes the
// object, so the one taken here for the call is given back at once.

#include "win32/fake_excel_windows.h"

#include <oleacc.h>

#include <future>

namespace marrowfield {

LRESULT CALLBACK FakeExcelWindowProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* shown = reinterpret_cast<FakeExcelWindows::Shown*>(
      GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_GETOBJECT && shown != nullptr && shown->workbook >= 0 &&
      static_cast<LONG>(lParam) == OBJID_NATIVEOM) {
    ++shown->queries;
    FakeExcelModel& model = shown->owner->excel_.model();
    const int object = model.WindowObject(shown->process, shown->workbook);
    const LRESULT answer = LresultFromObject(
        IID_IDispatch, wParam, shown->owner->excel_.Dispatch(object));
    model.Release(object);
    return answer;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

namespace {

void RegisterClasses() {
  static const bool registered = [] {
    for (const char* name : {"XLMAIN", "XLDESK", "EXCEL7"}) {
      WNDCLASSA windowClass{};
      windowClass.lpfnWndProc = FakeExcelWindowProc;
      windowClass.hInstance = GetModuleHandleA(nullptr);
      windowClass.lpszClassName = name;
      RegisterClassA(&windowClass);
    }
    return true;
  }();
  (void)registered;
}

}  // namespace

FakeExcelWindows::~FakeExcelWindows() {
  for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
    if (IsWindow(*it)) DestroyWindow(*it);
  }
}

HWND FakeExcelWindows::Make(const char* className, HWND parent, int process,
                            int workbook) {
  RegisterClasses();
  auto shown = std::make_unique<Shown>();
  shown->owner = this;
  shown->process = process;
  shown->workbook = workbook;
  // Hidden: nothing here needs to be seen, and a shown window would sit
  // under the dialog tests' pointer.
  HWND window = CreateWindowExA(
      0, className, className, parent == nullptr ? WS_OVERLAPPED : WS_CHILD, 0,
      0, 200, 100, parent, nullptr, GetModuleHandleA(nullptr), shown.get());
  if (window == nullptr) return nullptr;
  made_.push_back(window);
  shown_[window] = std::move(shown);
  return window;
}

HWND FakeExcelWindows::AddMainWindow(int process) {
  HWND main = Make("XLMAIN", nullptr, process, -1);
  if (main == nullptr || Make("XLDESK", main, process, -1) == nullptr) {
    return nullptr;
  }
  return main;
}

HWND FakeExcelWindows::AddWorkbookWindow(HWND main, int workbook) {
  const auto found = shown_.find(main);
  if (found == shown_.end()) return nullptr;
  HWND desk = FindWindowExA(main, nullptr, "XLDESK", nullptr);
  if (desk == nullptr) return nullptr;
  return Make("EXCEL7", desk, found->second->process, workbook);
}

int FakeExcelWindows::Queries(HWND window) const {
  const auto found = shown_.find(window);
  return found == shown_.end() ? 0 : found->second->queries.load();
}

WindowsOfAnotherThread::WindowsOfAnotherThread(
    ComFakeExcel& excel, const std::function<void(FakeExcelWindows&)>& build) {
  std::promise<DWORD> started;
  std::future<DWORD> ready = started.get_future();
  thread_ = std::thread([&, this] {
    windows_ = std::make_unique<FakeExcelWindows>(excel);
    build(*windows_);
    MSG message;
    // The queue exists once a message function has run; only then can the
    // quit message be posted to this thread.
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    started.set_value(GetCurrentThreadId());
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    windows_.reset();  // destroyed on the thread that made them
  });
  threadId_ = ready.get();
}

WindowsOfAnotherThread::~WindowsOfAnotherThread() {
  PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

}  // namespace marrowfield
