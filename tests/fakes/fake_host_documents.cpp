// The fake host's documents: a count of open ones and the screen-updating
// switch, enough to tell whether an add-in leaves a document or a frozen
// screen behind.

#include "fake_host_documents.h"

#include "host_functions.h"

namespace marrowfield {
namespace {

bool IsTrue(const XLOPER& value) {
  switch (BaseType(value)) {
    case xltypeBool:
      return value.val.xbool != 0;
    case xltypeNum:
      return value.val.num != 0;
    case xltypeInt:
      return value.val.w != 0;
    default:
      return false;
  }
}

}  // namespace

void FakeHostDocuments::Reset() {
  openDocuments_ = 0;
  screenUpdating_ = true;
  answers_.clear();
}

void FakeHostDocuments::SetAnswer(int32_t function, int32_t code,
                                  int32_t errorCode) {
  answers_[function] = {code, errorCode};
}

int32_t FakeHostDocuments::Answer(int32_t function, XLOPER* result,
                                  int32_t count, XLOPER* const* args,
                                  bool* handled) {
  *handled = function == xlcEcho || function == xlcNew || function == xlcClose;
  if (!*handled) return xlretSuccess;
  const auto forced = answers_.find(function);
  if (forced != answers_.end()) {
    if (forced->second.first != 0) return forced->second.first;
    if (forced->second.second >= 0) {
      if (result != nullptr) {
        *result = XLOPER{};
        result->val.err = static_cast<uint16_t>(forced->second.second);
        result->xltype = xltypeErr;
      }
      return xlretSuccess;
    }
  }
  if (function == xlcEcho) {
    if (count < 1) return xlretInvCount;
    screenUpdating_ = IsTrue(*args[0]);
  } else if (function == xlcNew) {
    ++openDocuments_;
  } else if (openDocuments_ == 0) {
    // Closing with nothing open: Excel's command answers FALSE.
    if (result != nullptr) {
      *result = XLOPER{};
      result->xltype = xltypeBool;
    }
    return xlretSuccess;
  } else {
    --openDocuments_;
  }
  if (result != nullptr) {
    *result = XLOPER{};
    result->val.xbool = 1;
    result->xltype = xltypeBool;
  }
  return xlretSuccess;
}

FakeHostDocuments& TheFakeHostDocuments() {
  static FakeHostDocuments documents;
  return documents;
}

}  // namespace marrowfield

extern "C" {

int fake_xl_open_documents(void) {
  return marrowfield::TheFakeHostDocuments().openDocuments();
}

int fake_xl_screen_updating(void) {
  return marrowfield::TheFakeHostDocuments().screenUpdating() ? 1 : 0;
}

void fake_xl_set_command_answer(int function, int code, int errorCode) {
  marrowfield::TheFakeHostDocuments().SetAnswer(function, code, errorCode);
}

}  // extern "C"
