// The shared checks and conversions of the product interface's exports.

#include "api_guard.h"

#include <mutex>

#include "flite_lexicon.h"
#include "phone_tables.h"

namespace marrowfield::api {

void SetError(char** errptr, const char* message) noexcept {
  if (errptr == nullptr) return;
  std::free(*errptr);
  const size_t size = std::strlen(message) + 1;
  *errptr = static_cast<char*>(std::malloc(size));
  if (*errptr != nullptr) std::memcpy(*errptr, message, size);
}

namespace {
// BuildPhoneTables' answer: 0, or -1 when the tables failed their check.
int g_tablesStatus = 0;
}  // namespace

bool EngineTablesConsistent() {
  EnsureEngine();
  return g_tablesStatus == 0;
}

void EnsureEngine() {
  static std::once_flag once;
  std::call_once(once, [] {
    SetUpLexicon();
    // A failed consistency check leaves the tables usable; mf_engine_start
    // reports it to callers that ask.
    g_tablesStatus = BuildPhoneTables();
  });
  if (!PhoneTablesReady()) {
    throw std::runtime_error("the phonetic engine could not be set up");
  }
}

TextFolding FoldingOf(int fold) {
  switch (fold) {
    case MF_FOLD_NONE:
      return TextFolding::kNone;
    case MF_FOLD_UTF8:
      return TextFolding::kUtf8;
    case MF_FOLD_WINDOWS1252:
      return TextFolding::kWindows1252;
    default:
      throw ArgumentError(
          "fold must be MF_FOLD_NONE, MF_FOLD_UTF8 or MF_FOLD_WINDOWS1252");
  }
}

lists::PairOptions PairOptionsOf(const mf_options_t* options) {
  Require(options != nullptr, "options is NULL");
  Require(options->accuracy >= 0 && options->accuracy <= 100,
          "accuracy must be from 0 to 100");
  Require(options->threads >= 0, "threads must be 0 or more");
  Require(options->scoring == MF_SCORING_STRICT ||
              options->scoring == MF_SCORING_TOLERANT,
          "scoring must be MF_SCORING_STRICT or MF_SCORING_TOLERANT");
  FoldingOf(options->fold);
  lists::PairOptions pairOptions;
  pairOptions.accuracy = options->accuracy;
  pairOptions.threads = static_cast<unsigned>(options->threads);
  pairOptions.wholeCell = options->wholeCell;
  pairOptions.scoring = static_cast<ScoringMode>(options->scoring);
  if (options->progress != nullptr) {
    const mf_progress_fn progress = options->progress;
    void* state = options->progressState;
    pairOptions.progress = [progress, state](size_t done, size_t total) {
      progress(state, done, total);
    };
  }
  if (options->cancel != nullptr) {
    const mf_cancel_fn cancel = options->cancel;
    void* state = options->cancelState;
    pairOptions.cancel = [cancel, state] { return cancel(state) != 0; };
  }
  return pairOptions;
}

std::string Folded(const mf_options_t* options, const char* text) {
  if (options->fold == MF_FOLD_NONE) return text;
  return FoldToAscii(text, FoldingOf(options->fold));
}

std::vector<std::string> CopyValues(const mf_options_t* options,
                                    const char* const* values, size_t count,
                                    const char* name) {
  Require(values != nullptr || count == 0,
          (std::string(name) + " is NULL").c_str());
  std::vector<std::string> copied;
  copied.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    if (values[i] == nullptr) {
      throw ArgumentError(std::string(name) + "[" + std::to_string(i) +
                          "] is NULL");
    }
    copied.push_back(Folded(options, values[i]));
  }
  return copied;
}

char* CopyOut(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy == nullptr) throw std::bad_alloc();
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace marrowfield::api
