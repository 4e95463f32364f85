// The exported C interface of the pair finding layer (marrowfield_lists.h).
// Each export checks its arguments, converts them, calls the C++ layer and
// converts the answer into a handle; no algorithm lives here. Nothing
// leaves as an exception: Guarded() turns every failure into a status code
// and a message.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "blocking_keys.h"
#include "explanation.h"
#include "explanation_text.h"
#include "flite_lexicon.h"
#include "marrowfield_lists.h"
#include "pair_finder.h"
#include "phone_tables.h"
#include "score_many.h"

using marrowfield::ScoringMode;
namespace lists = marrowfield::lists;

struct mfl_options_t {
  int accuracy = 60;
  int threads = 0;
  bool wholeCell = false;
  int scoring = MFL_SCORING_STRICT;
  bool bestOnly = false;
  mfl_progress_fn progress = nullptr;
  void* progressState = nullptr;
};

struct mfl_groups_t {
  std::vector<lists::Group> groups;
  std::vector<lists::ValuePair> pairs;
};

struct mfl_links_t {
  // For each value of a, its matches in b, best first.
  std::vector<std::vector<lists::ValuePair>> matches;
};

struct mfl_strings_t {
  std::vector<std::string> items;
};

struct mfl_explanation_t {
  marrowfield::ComparisonExplanation explanation;
  std::string phones1;
  std::string phones2;
  std::string text;
};

namespace {

// A bad argument from the caller: MFL_INVALID_ARGUMENT with this message.
class ArgumentError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

void SetError(char** errptr, const char* message) {
  if (errptr == nullptr) return;
  std::free(*errptr);
  const size_t size = std::strlen(message) + 1;
  *errptr = static_cast<char*>(std::malloc(size));
  if (*errptr != nullptr) std::memcpy(*errptr, message, size);
}

template <typename Body>
int Guarded(char** errptr, Body&& body) noexcept {
  try {
    body();
    return MFL_OK;
  } catch (const ArgumentError& error) {
    SetError(errptr, error.what());
    return MFL_INVALID_ARGUMENT;
  } catch (const std::bad_alloc&) {
    SetError(errptr, "out of memory");
    return MFL_OUT_OF_MEMORY;
  } catch (const std::exception& error) {
    SetError(errptr, error.what());
    return MFL_INTERNAL_ERROR;
  } catch (...) {
    SetError(errptr, "unknown failure");
    return MFL_INTERNAL_ERROR;
  }
}

// The engine is set up once, on first use, and kept until the process
// ends: handing out results that outlive a shutdown would need every
// caller to coordinate one. A failed table check leaves the tables usable.
void EnsureEngine() {
  static std::once_flag once;
  std::call_once(once, [] {
    marrowfield::SetUpLexicon();
    marrowfield::BuildPhoneTables();
  });
  if (!marrowfield::PhoneTablesReady()) {
    throw std::runtime_error("the phonetic engine could not be set up");
  }
}

void Require(bool condition, const char* message) {
  if (!condition) throw ArgumentError(message);
}

// The C++ options of |options|, checked.
lists::PairOptions PairOptionsOf(const mfl_options_t* options) {
  Require(options != nullptr, "options is NULL");
  Require(options->accuracy >= 0 && options->accuracy <= 100,
          "accuracy must be from 0 to 100");
  Require(options->threads >= 0, "threads must be 0 or more");
  Require(options->scoring == MFL_SCORING_STRICT ||
              options->scoring == MFL_SCORING_TOLERANT,
          "scoring must be MFL_SCORING_STRICT or MFL_SCORING_TOLERANT");
  lists::PairOptions pairOptions;
  pairOptions.accuracy = options->accuracy;
  pairOptions.threads = static_cast<unsigned>(options->threads);
  pairOptions.wholeCell = options->wholeCell;
  pairOptions.scoring = static_cast<ScoringMode>(options->scoring);
  if (options->progress != nullptr) {
    const mfl_progress_fn progress = options->progress;
    void* state = options->progressState;
    pairOptions.progress = [progress, state](size_t done, size_t total) {
      progress(state, done, total);
    };
  }
  return pairOptions;
}

std::vector<std::string> CopyValues(const char* const* values, size_t count,
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
    copied.emplace_back(values[i]);
  }
  return copied;
}

// Matches of each value of a, best first, equal scores in b's order; with
// |bestOnly| only those sharing the best score.
std::vector<std::vector<lists::ValuePair>> MatchesByValue(
    const std::vector<lists::ValuePair>& pairs, size_t aCount, bool bestOnly) {
  std::vector<std::vector<lists::ValuePair>> matches(aCount);
  for (const lists::ValuePair& pair : pairs)
    matches[pair.first].push_back(pair);
  for (std::vector<lists::ValuePair>& list : matches) {
    std::stable_sort(list.begin(), list.end(),
                     [](const lists::ValuePair& x, const lists::ValuePair& y) {
                       return x.score > y.score;
                     });
    if (bestOnly && !list.empty()) {
      const int best = list.front().score;
      list.erase(std::find_if(list.begin(), list.end(),
                              [best](const lists::ValuePair& p) {
                                return p.score < best;
                              }),
                 list.end());
    }
  }
  return matches;
}

const lists::GroupMember* MemberAt(const mfl_groups_t* groups, size_t group,
                                   size_t member) {
  if (groups == nullptr || group >= groups->groups.size()) return nullptr;
  const std::vector<lists::GroupMember>& members =
      groups->groups[group].members;
  return member < members.size() ? &members[member] : nullptr;
}

const lists::ValuePair* MatchAt(const mfl_links_t* links, size_t aIndex,
                                size_t match) {
  if (links == nullptr || aIndex >= links->matches.size()) return nullptr;
  const std::vector<lists::ValuePair>& list = links->matches[aIndex];
  return match < list.size() ? &list[match] : nullptr;
}

}  // namespace

extern "C" {

void mfl_free(void* pointer) { std::free(pointer); }

mfl_options_t* mfl_options_create(void) {
  return new (std::nothrow) mfl_options_t;
}

void mfl_options_destroy(mfl_options_t* options) { delete options; }

void mfl_options_set_accuracy(mfl_options_t* options, int accuracy) {
  if (options != nullptr) options->accuracy = accuracy;
}

void mfl_options_set_threads(mfl_options_t* options, int threads) {
  if (options != nullptr) options->threads = threads;
}

void mfl_options_set_whole_cell(mfl_options_t* options,
                                unsigned char whole_cell) {
  if (options != nullptr) options->wholeCell = whole_cell != 0;
}

void mfl_options_set_scoring(mfl_options_t* options, int scoring) {
  if (options != nullptr) options->scoring = scoring;
}

void mfl_options_set_best_only(mfl_options_t* options,
                               unsigned char best_only) {
  if (options != nullptr) options->bestOnly = best_only != 0;
}

void mfl_options_set_progress(mfl_options_t* options, mfl_progress_fn fn,
                              void* state) {
  if (options == nullptr) return;
  options->progress = fn;
  options->progressState = state;
}

int mfl_compare(const mfl_options_t* options, const char* first,
                const char* second, int* score, char** errptr) {
  return Guarded(errptr, [&] {
    const lists::PairOptions pairOptions = PairOptionsOf(options);
    Require(first != nullptr && second != nullptr, "a value is NULL");
    Require(score != nullptr, "score is NULL");
    EnsureEngine();
    *score = lists::ScoreValues(first, second, pairOptions);
  });
}

int mfl_compare_many(const mfl_options_t* options, const char* const* first,
                     const char* const* second, size_t count, int* scores,
                     char** errptr) {
  return Guarded(errptr, [&] {
    const lists::PairOptions pairOptions = PairOptionsOf(options);
    Require(count == 0 ||
                (first != nullptr && second != nullptr && scores != nullptr),
            "an array is NULL");
    for (size_t i = 0; i < count; ++i) {
      if (first[i] == nullptr || second[i] == nullptr) {
        throw ArgumentError("the values of pair " + std::to_string(i) +
                            " include NULL");
      }
    }
    EnsureEngine();
    lists::ScoreMany(first, second, count, pairOptions, scores);
  });
}

int mfl_dedupe(const mfl_options_t* options, const char* const* values,
               const uint64_t* counts, size_t count, mfl_groups_t** result,
               char** errptr) {
  return Guarded(errptr, [&] {
    const lists::PairOptions pairOptions = PairOptionsOf(options);
    Require(result != nullptr, "result is NULL");
    const std::vector<std::string> copied = CopyValues(values, count, "values");
    std::vector<size_t> copiedCounts;
    if (counts != nullptr) copiedCounts.assign(counts, counts + count);
    EnsureEngine();
    auto groups = std::make_unique<mfl_groups_t>();
    groups->pairs = lists::FindDuplicatePairs(copied, pairOptions);
    groups->groups = lists::GroupDuplicates(copied, copiedCounts, groups->pairs,
                                            pairOptions);
    *result = groups.release();
  });
}

void mfl_groups_destroy(mfl_groups_t* groups) { delete groups; }

size_t mfl_groups_count(const mfl_groups_t* groups) {
  return groups != nullptr ? groups->groups.size() : 0;
}

size_t mfl_groups_canonical(const mfl_groups_t* groups, size_t group) {
  if (groups == nullptr || group >= groups->groups.size()) return SIZE_MAX;
  return groups->groups[group].canonical;
}

size_t mfl_groups_member_count(const mfl_groups_t* groups, size_t group) {
  if (groups == nullptr || group >= groups->groups.size()) return 0;
  return groups->groups[group].members.size();
}

size_t mfl_groups_member_value(const mfl_groups_t* groups, size_t group,
                               size_t member) {
  const lists::GroupMember* found = MemberAt(groups, group, member);
  return found != nullptr ? found->value : SIZE_MAX;
}

int mfl_groups_member_score(const mfl_groups_t* groups, size_t group,
                            size_t member) {
  const lists::GroupMember* found = MemberAt(groups, group, member);
  return found != nullptr ? found->score : 0;
}

size_t mfl_groups_member_via(const mfl_groups_t* groups, size_t group,
                             size_t member) {
  const lists::GroupMember* found = MemberAt(groups, group, member);
  return found != nullptr ? found->via : SIZE_MAX;
}

int mfl_groups_member_via_score(const mfl_groups_t* groups, size_t group,
                                size_t member) {
  const lists::GroupMember* found = MemberAt(groups, group, member);
  return found != nullptr ? found->viaScore : 0;
}

size_t mfl_groups_pair_count(const mfl_groups_t* groups) {
  return groups != nullptr ? groups->pairs.size() : 0;
}

int mfl_groups_pair(const mfl_groups_t* groups, size_t pair, size_t* first,
                    size_t* second, int* score) {
  if (groups == nullptr || pair >= groups->pairs.size()) return 0;
  const lists::ValuePair& found = groups->pairs[pair];
  if (first != nullptr) *first = found.first;
  if (second != nullptr) *second = found.second;
  if (score != nullptr) *score = found.score;
  return 1;
}

int mfl_link(const mfl_options_t* options, const char* const* a, size_t a_count,
             const char* const* b, size_t b_count, mfl_links_t** result,
             char** errptr) {
  return Guarded(errptr, [&] {
    const lists::PairOptions pairOptions = PairOptionsOf(options);
    Require(result != nullptr, "result is NULL");
    const std::vector<std::string> copiedA = CopyValues(a, a_count, "a");
    const std::vector<std::string> copiedB = CopyValues(b, b_count, "b");
    EnsureEngine();
    auto links = std::make_unique<mfl_links_t>();
    links->matches =
        MatchesByValue(lists::FindLinkPairs(copiedA, copiedB, pairOptions),
                       copiedA.size(), options->bestOnly);
    *result = links.release();
  });
}

void mfl_links_destroy(mfl_links_t* links) { delete links; }

size_t mfl_links_match_count(const mfl_links_t* links, size_t a_index) {
  if (links == nullptr || a_index >= links->matches.size()) return 0;
  return links->matches[a_index].size();
}

size_t mfl_links_match_value(const mfl_links_t* links, size_t a_index,
                             size_t match) {
  const lists::ValuePair* found = MatchAt(links, a_index, match);
  return found != nullptr ? found->second : SIZE_MAX;
}

int mfl_links_match_score(const mfl_links_t* links, size_t a_index,
                          size_t match) {
  const lists::ValuePair* found = MatchAt(links, a_index, match);
  return found != nullptr ? found->score : 0;
}

void mfl_strings_destroy(mfl_strings_t* strings) { delete strings; }

size_t mfl_strings_count(const mfl_strings_t* strings) {
  return strings != nullptr ? strings->items.size() : 0;
}

const char* mfl_strings_item(const mfl_strings_t* strings, size_t index) {
  if (strings == nullptr || index >= strings->items.size()) return nullptr;
  return strings->items[index].c_str();
}

int mfl_keys(const char* value, mfl_strings_t** result, char** errptr) {
  return Guarded(errptr, [&] {
    Require(value != nullptr, "value is NULL");
    Require(result != nullptr, "result is NULL");
    EnsureEngine();
    auto keys = std::make_unique<mfl_strings_t>();
    keys->items = lists::BlockingKeys(value);
    *result = keys.release();
  });
}

int mfl_keys_min_accuracy(void) { return lists::kBlockingKeysMinAccuracy; }

int mfl_explain(const mfl_options_t* options, const char* first,
                const char* second, mfl_explanation_t** result, char** errptr) {
  return Guarded(errptr, [&] {
    const lists::PairOptions pairOptions = PairOptionsOf(options);
    Require(first != nullptr && second != nullptr, "a word is NULL");
    Require(result != nullptr, "result is NULL");
    EnsureEngine();
    auto explained = std::make_unique<mfl_explanation_t>();
    explained->explanation =
        marrowfield::ExplainComparison(first, second, pairOptions.scoring);
    explained->phones1 = lists::JoinPhones(explained->explanation.phones1);
    explained->phones2 = lists::JoinPhones(explained->explanation.phones2);
    explained->text = lists::ExplanationText(explained->explanation);
    *result = explained.release();
  });
}

void mfl_explanation_destroy(mfl_explanation_t* explanation) {
  delete explanation;
}

int mfl_explanation_percentage(const mfl_explanation_t* explanation) {
  return explanation != nullptr ? explanation->explanation.percentage : 0;
}

double mfl_explanation_distance(const mfl_explanation_t* explanation) {
  return explanation != nullptr ? explanation->explanation.distance : -1.0;
}

const char* mfl_explanation_phones(const mfl_explanation_t* explanation,
                                   int word) {
  if (explanation == nullptr) return "";
  if (word == 1) return explanation->phones1.c_str();
  if (word == 2) return explanation->phones2.c_str();
  return "";
}

const char* mfl_explanation_text(const mfl_explanation_t* explanation) {
  return explanation != nullptr ? explanation->text.c_str() : "";
}

}  // extern "C"
