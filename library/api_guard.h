// What every export of the product interface shares: the handles behind
// its opaque types, the guard that turns any exception into a status code
// and a message, the checks of arguments and options, and the engine's
// one-time set-up. Internal to the library.
#ifndef MARROWFIELD_LIBRARY_API_GUARD_H_
#define MARROWFIELD_LIBRARY_API_GUARD_H_

#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "explanation.h"
#include "marrowfield/text_folding.h"
#include "marrowfield_api.h"
#include "pair_finder.h"
#include "records.h"

struct mf_options_t {
  int accuracy = 60;
  int threads = 0;
  bool wholeCell = false;
  int scoring = MF_SCORING_STRICT;
  int fold = MF_FOLD_NONE;
  bool bestOnly = false;
  mf_progress_fn progress = nullptr;
  void* progressState = nullptr;
  mf_cancel_fn cancel = nullptr;
  void* cancelState = nullptr;
};

struct mf_groups_t {
  std::vector<marrowfield::lists::Group> groups;
  std::vector<marrowfield::lists::ValuePair> pairs;
};

struct mf_links_t {
  // For each value of a, its matches in b, best first.
  std::vector<std::vector<marrowfield::lists::ValuePair>> matches;
};

struct mf_records_t {
  marrowfield::lists::RecordList records;
};

struct mf_strings_t {
  std::vector<std::string> items;
};

struct mf_explanation_t {
  marrowfield::ComparisonExplanation explanation;
  std::string phones1;
  std::string phones2;
  std::string text;
};

namespace marrowfield::api {

// A bad argument from the caller: MF_INVALID_ARGUMENT with this message.
class ArgumentError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// Replaces *errptr (when errptr is not null) by a malloc'd copy of
// |message|, freeing the old one.
void SetError(char** errptr, const char* message) noexcept;

// Runs |body| and returns MF_OK, or the status of what it threw with its
// message written through |errptr|.
template <typename Body>
int Guarded(char** errptr, Body&& body) noexcept {
  try {
    body();
    return MF_OK;
  } catch (const ArgumentError& error) {
    SetError(errptr, error.what());
    return MF_INVALID_ARGUMENT;
  } catch (const lists::Cancelled&) {
    SetError(errptr, "cancelled");
    return MF_CANCELLED;
  } catch (const std::bad_alloc&) {
    SetError(errptr, "out of memory");
    return MF_OUT_OF_MEMORY;
  } catch (const std::exception& error) {
    SetError(errptr, error.what());
    return MF_INTERNAL_ERROR;
  } catch (...) {
    SetError(errptr, "unknown failure");
    return MF_INTERNAL_ERROR;
  }
}

inline void Require(bool condition, const char* message) {
  if (!condition) throw ArgumentError(message);
}

// Sets the engine up on the first call (once per process) and throws
// unless its phone tables are usable. Results handed out may outlive any
// caller, so the engine is never shut down.
void EnsureEngine();
// EnsureEngine, then whether the phone tables passed their consistency
// check.
bool EngineTablesConsistent();

// The checked C++ options of |options|. REQUIRES nothing: a null or bad
// options object throws ArgumentError.
lists::PairOptions PairOptionsOf(const mf_options_t* options);

// The folding of an MF_FOLD_ value; throws ArgumentError for another.
TextFolding FoldingOf(int fold);

// |text| folded as |options| asks (unchanged for MF_FOLD_NONE).
// REQUIRES: options is not null.
std::string Folded(const mf_options_t* options, const char* text);

// The |count| strings of |values|, folded as |options| asks; a null array
// (with a count) or entry throws ArgumentError naming |name|.
std::vector<std::string> CopyValues(const mf_options_t* options,
                                    const char* const* values, size_t count,
                                    const char* name);

// A new malloc'd copy of |text| for the caller to free with mf_free.
char* CopyOut(const std::string& text);

}  // namespace marrowfield::api

#endif  // MARROWFIELD_LIBRARY_API_GUARD_H_
