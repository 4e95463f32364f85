// The model's add-in manager: Application.AddIns, its Add and Item, and an
// add-in's Installed flag, with Excel's rules where the installer depends
// on them (Add refuses a file that is not an add-in, Item knows only listed
// add-ins, switching Installed loads or closes the add-in). What lies
// outside the model -- files, libraries -- is reached through the
// process's hooks.

#include <cctype>
#include <cstddef>
#include <utility>

#include "fake_excel_model.h"

namespace marrowfield {
namespace {

constexpr int32_t kItem = 0x00AA;
constexpr int32_t kAdd = 0x00B5;
constexpr int32_t kCount = 0x0076;
constexpr int32_t kInstalled = 0x0226;
constexpr int32_t kName = 0x006E;
constexpr int32_t kFullName = 0x0121;
constexpr uint16_t kMethod = 1;
constexpr uint16_t kGet = 2;
constexpr uint16_t kPut = 4;
constexpr int32_t kParamNotFound = static_cast<int32_t>(0x80020004u);

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool Omitted(const ModelValue& value) {
  return value.kind == ModelValue::Kind::kError &&
         value.integer == kParamNotFound;
}

}  // namespace

void FakeExcelModel::SetAddinHooks(int process, ModelAddinHooks hooks) {
  processes_.at(static_cast<size_t>(process)).addinHooks = std::move(hooks);
}

void FakeExcelModel::ListAddin(int process, ModelAddin addin) {
  processes_.at(static_cast<size_t>(process))
      .addins.push_back(std::move(addin));
}

const std::vector<ModelAddin>& FakeExcelModel::addins(int process) const {
  return processes_.at(static_cast<size_t>(process)).addins;
}

int FakeExcelModel::quits(int process) const {
  return processes_.at(static_cast<size_t>(process)).quits;
}

int FakeExcelModel::ClosedWorkbookCount(int process) const {
  int closed = 0;
  for (const Book& book : processes_.at(static_cast<size_t>(process)).books) {
    if (book.closed) ++closed;
  }
  return closed;
}

ModelResult FakeExcelModel::AddinMember(
    Object& object, int32_t member, uint16_t invokeKind,
    const std::vector<ModelValue>& arguments, ModelValue* result) {
  Process& process = processes_[static_cast<size_t>(object.process)];
  auto& list = process.addins;
  if (object.kind == ModelKind::kAddIn) {
    ModelAddin& addin = list.at(static_cast<size_t>(object.sheet));
    if (member == kFullName) {
      *result = ModelValue::String(addin.path);
      return kModelOk;
    }
    if (member == kName) {
      // The file's name, whether or not the add-in was ever loaded.
      const std::size_t slash = addin.path.find_last_of("\\/");
      *result = ModelValue::String(slash == std::string::npos
                                       ? addin.path
                                       : addin.path.substr(slash + 1));
      return kModelOk;
    }
    if (member != kInstalled) return kModelMemberNotFound;
    if ((invokeKind & kGet) != 0) {
      *result = ModelValue::Boolean(addin.installed);
      return kModelOk;
    }
    if ((invokeKind & kPut) == 0) return kModelMemberNotFound;
    if (arguments.size() != 1) return kModelBadParamCount;
    if (arguments[0].kind != ModelValue::Kind::kBoolean) {
      return kModelTypeMismatch;
    }
    if (addin.installed == arguments[0].flag) return kModelOk;
    addin.installed = arguments[0].flag;
    if (process.addinHooks.switched) process.addinHooks.switched(addin);
    return kModelOk;
  }

  if (member == kCount && (invokeKind & kGet) != 0) {
    *result = ModelValue::Integer(static_cast<int32_t>(list.size()), 3);
    return kModelOk;
  }
  if (member == kAdd && (invokeKind & kMethod) != 0) {
    if (arguments.empty() || arguments.size() > 2) return kModelBadParamCount;
    if (arguments[0].kind != ModelValue::Kind::kString) {
      return kModelTypeMismatch;
    }
    if (arguments.size() == 2 && !Omitted(arguments[1]) &&
        arguments[1].kind != ModelValue::Kind::kBoolean) {
      return kModelTypeMismatch;
    }
    // Excel answers a file it cannot open as an add-in with an exception.
    std::string title;
    if (!process.addinHooks.read ||
        !process.addinHooks.read(arguments[0].text, &title)) {
      return kModelException;
    }
    std::size_t index = 0;
    while (index < list.size() &&
           !SameText(list[index].path, arguments[0].text))
      ++index;
    if (index == list.size()) list.push_back({arguments[0].text, title, false});
    // Excel asks before it takes an add-in in, unless told not to.
    if (process.displayAlerts) {
      ++process.alerts;
      if (process.addinHooks.alert) process.addinHooks.alert();
    }
    *result = NewObjectValue(
        {ModelKind::kAddIn, object.process, -1, static_cast<int>(index)});
    return kModelOk;
  }
  if (member == kItem && (invokeKind & kGet) != 0) {
    if (arguments.size() != 1) return kModelBadParamCount;
    std::size_t index = list.size();
    if (arguments[0].kind == ModelValue::Kind::kString) {
      for (index = 0; index < list.size(); ++index) {
        if (SameText(list[index].title, arguments[0].text)) break;
      }
    } else if (arguments[0].kind == ModelValue::Kind::kInteger &&
               arguments[0].integer >= 1) {
      index = static_cast<std::size_t>(arguments[0].integer - 1);
    } else {
      return kModelTypeMismatch;
    }
    if (index >= list.size()) return kModelBadIndex;
    *result = NewObjectValue(
        {ModelKind::kAddIn, object.process, -1, static_cast<int>(index)});
    return kModelOk;
  }
  return kModelMemberNotFound;
}

}  // namespace marrowfield
