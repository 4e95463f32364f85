// The fake Excel's add-in manager against real files and libraries, its
// persistent add-in list ("1<TAB>path<TAB>title" per line) and its log.

#include "fake_excel_world.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <utility>

#include "xloper.h"

namespace marrowfield {
namespace {

#if defined(_WIN64)
#define XLL_CALL
#else
#define XLL_CALL __stdcall
#endif
using EntryFunction = int(XLL_CALL*)();
using InfoFunction = XLOPER*(XLL_CALL*)(XLOPER*);

// The export |name| of |library| as a |Function|; null when missing.
template <typename Function>
Function Export(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(library, name)));
}

HMODULE LoadAddin(const std::string& path) {
  // Beside the add-in, as Excel finds an XLL's own libraries.
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

FakeExcelWorld::FakeExcelWorld(std::string folder,
                               FakeExcelModel::LibraryCall library)
    : folder_(std::move(folder)), com_(model_, false) {
  process_ = model_.AddProcess(std::move(library));
  model_.SetActiveProcess(process_);
  ModelAddinHooks hooks;
  hooks.read = [this](const std::string& path, std::string* title) {
    return Read(path, title);
  };
  hooks.switched = [this](const ModelAddin& addin) { Switched(addin); };
  hooks.quit = [this] { Quit(); };
  hooks.alert = [this] { Log("alert"); };
  model_.SetAddinHooks(process_, hooks);
  LoadList();
  Log("started");
}

HRESULT FakeExcelWorld::Application(REFIID iid, void** out) {
  return com_.Dispatch(model_.ApplicationObject(process_))
      ->QueryInterface(iid, out);
}

bool FakeExcelWorld::Read(const std::string& path, std::string* title) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  HMODULE library = attributes != INVALID_FILE_ATTRIBUTES &&
                            (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0
                        ? LoadAddin(path)
                        : nullptr;
  auto info = library != nullptr
                  ? Export<InfoFunction>(library, "xlAddInManagerInfo")
                  : nullptr;
  bool found = false;
  if (info != nullptr) {
    XLOPER action{};
    action.val.num = 1;  // the add-in's long name
    action.xltype = xltypeNum;
    const XLOPER* name = info(&action);
    if (name != nullptr && (name->xltype & 0x0FFF) == xltypeStr &&
        name->val.str != nullptr) {
      title->assign(name->val.str + 1,
                    static_cast<unsigned char>(name->val.str[0]));
      found = true;
    }
  }
  if (library != nullptr) FreeLibrary(library);
  Log("read " + path + " = " + (found ? *title : "not an add-in"));
  return found;
}

void FakeExcelWorld::Switched(const ModelAddin& addin) {
  RunEntry(addin.path, addin.installed ? "xlAutoOpen" : "xlAutoClose");
  if (!addin.installed) {
    auto found = loaded_.find(addin.path);
    if (found != loaded_.end()) {
      FreeLibrary(found->second);
      loaded_.erase(found);
    }
  }
  SaveList();
}

void FakeExcelWorld::SetWindow(HWND window) {
  model_.SetWindowHandle(
      process_, static_cast<int32_t>(reinterpret_cast<intptr_t>(window)));
}

void FakeExcelWorld::Quit() {
  quitCalled_ = true;
  Log("quit");
  for (const auto& entry : loaded_) {
    auto close = Export<EntryFunction>(entry.second, "xlAutoClose");
    if (close != nullptr) {
      Log("xlAutoClose " + entry.first + " = " + std::to_string(close()));
    }
    FreeLibrary(entry.second);
  }
  loaded_.clear();
  SaveList();
}

void FakeExcelWorld::RunEntry(const std::string& path, const char* entry) {
  HMODULE& library = loaded_[path];
  if (library == nullptr) library = LoadAddin(path);
  if (library == nullptr) {
    loaded_.erase(path);
    Log(std::string(entry) + " " + path + " = not loaded");
    return;
  }
  auto function = Export<EntryFunction>(library, entry);
  Log(std::string(entry) + " " + path + " = " +
      (function != nullptr ? std::to_string(function()) : "missing"));
}

void FakeExcelWorld::LoadList() {
  std::ifstream list(folder_ + "\\" + kFakeExcelAddinList);
  std::string line;
  while (std::getline(list, line)) {
    const size_t first = line.find('\t');
    const size_t second = line.find('\t', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    model_.ListAddin(process_, {line.substr(first + 1, second - first - 1),
                                line.substr(second + 1), line[0] == '1'});
  }
}

void FakeExcelWorld::SaveList() {
  std::ofstream list(folder_ + "\\" + kFakeExcelAddinList, std::ios::trunc);
  for (const ModelAddin& addin : model_.addins(process_)) {
    list << (addin.installed ? '1' : '0') << '\t' << addin.path << '\t'
         << addin.title << '\n';
  }
}

void FakeExcelWorld::Log(const std::string& line) {
  std::ofstream log(folder_ + "\\" + kFakeExcelLog, std::ios::app);
  log << line << '\n';
}

void FakeExcelWorld::LogOutstandingReferences() noexcept {
  char line[64];
  const int length =
      std::snprintf(line, sizeof(line), "references outstanding %d\n",
                    model_.OutstandingReferences());
  char path[MAX_PATH];
  if (std::snprintf(path, sizeof(path), "%s\\%s", folder_.c_str(),
                    kFakeExcelLog) >= static_cast<int>(sizeof(path))) {
    return;
  }
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
  CloseHandle(file);
}

}  // namespace marrowfield
