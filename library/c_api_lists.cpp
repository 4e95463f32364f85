// The exported product interface (marrowfield_api.h) over whole lists:
// duplicates of values and of records, links and blocking keys, and the
// accessors of their handles.
// As in c_api.cpp, each export only converts and calls the layer below.

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "api_guard.h"
#include "blocking_keys.h"

namespace api = marrowfield::api;
namespace lists = marrowfield::lists;
using api::Guarded;
using api::Require;

namespace {

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

const lists::GroupMember* MemberAt(const mf_groups_t* groups, size_t group,
                                   size_t member) {
  if (groups == nullptr || group >= groups->groups.size()) return nullptr;
  const std::vector<lists::GroupMember>& members =
      groups->groups[group].members;
  return member < members.size() ? &members[member] : nullptr;
}

const lists::ValuePair* MatchAt(const mf_links_t* links, size_t aIndex,
                                size_t match) {
  if (links == nullptr || aIndex >= links->matches.size()) return nullptr;
  const std::vector<lists::ValuePair>& list = links->matches[aIndex];
  return match < list.size() ? &list[match] : nullptr;
}

// The keys of |value| as |make| computes them, folded as |options| says
// (the defaults for null options).
template <typename MakeKeys>
int Keys(const mf_options_t* options, const char* value, mf_strings_t** result,
         char** errptr, MakeKeys&& make) {
  return Guarded(errptr, [&] {
    const mf_options_t defaults;
    if (options == nullptr) options = &defaults;
    api::FoldingOf(options->fold);
    Require(value != nullptr, "value is NULL");
    Require(result != nullptr, "result is NULL");
    api::EnsureEngine();
    auto keys = std::make_unique<mf_strings_t>();
    keys->items = make(api::Folded(options, value));
    *result = keys.release();
  });
}

// The caller's pairs as mf_dedupe's pair finding would hand them to the
// grouping: first < second, ordered by (first, second), those scoring
// below |accuracy| left out. The grouping breaks ties by pair order, so
// the order is fixed here rather than left to the caller.
std::vector<lists::ValuePair> GivenPairs(size_t count, const size_t* firsts,
                                         const size_t* seconds,
                                         const int* scores, size_t pairCount,
                                         int accuracy) {
  Require(pairCount == 0 ||
              (firsts != nullptr && seconds != nullptr && scores != nullptr),
          "firsts, seconds or scores is NULL");
  std::vector<lists::ValuePair> pairs;
  pairs.reserve(pairCount);
  for (size_t k = 0; k < pairCount; ++k) {
    Require(firsts[k] < count && seconds[k] < count,
            "a pair's index is out of range");
    Require(firsts[k] != seconds[k], "a pair joins a value with itself");
    Require(scores[k] >= 0 && scores[k] <= 100,
            "a pair's score is outside 0-100");
    if (scores[k] < accuracy) continue;
    pairs.push_back(lists::ValuePair{std::min(firsts[k], seconds[k]),
                                     std::max(firsts[k], seconds[k]),
                                     scores[k]});
  }
  const auto order = [](const lists::ValuePair& x, const lists::ValuePair& y) {
    return x.first != y.first ? x.first < y.first : x.second < y.second;
  };
  std::sort(pairs.begin(), pairs.end(), order);
  const auto same = [](const lists::ValuePair& x, const lists::ValuePair& y) {
    return x.first == y.first && x.second == y.second;
  };
  Require(std::adjacent_find(pairs.begin(), pairs.end(), same) == pairs.end(),
          "a pair is given twice");
  return pairs;
}

// |records| with their name and also fields folded as |options| says
// (same fields are normalised by the layer below, accents included).
lists::RecordList FoldedRecords(const mf_options_t* options,
                                const mf_records_t* records) {
  lists::RecordList folded = records->records;
  if (options->fold == MF_FOLD_NONE) return folded;
  const size_t fieldCount = folded.FieldCount();
  for (size_t i = 0; i < folded.fields.size(); ++i) {
    const size_t f = i % fieldCount;
    if (f >= folded.nameFields && f < folded.nameFields + folded.sameFields)
      continue;
    folded.fields[i] = api::Folded(options, folded.fields[i].c_str());
  }
  return folded;
}

}  // namespace

extern "C" {

int mf_dedupe(const mf_options_t* options, const char* const* values,
              const uint64_t* counts, size_t count, mf_groups_t** result,
              char** errptr) {
  return Guarded(errptr, [&] {
    const lists::PairOptions pairOptions = api::PairOptionsOf(options);
    Require(result != nullptr, "result is NULL");
    const std::vector<std::string> copied =
        api::CopyValues(options, values, count, "values");
    std::vector<size_t> copiedCounts;
    if (counts != nullptr) copiedCounts.assign(counts, counts + count);
    api::EnsureEngine();
    auto groups = std::make_unique<mf_groups_t>();
    groups->pairs = lists::FindDuplicatePairs(copied, pairOptions);
    groups->groups = lists::GroupDuplicates(copied, copiedCounts, groups->pairs,
                                            pairOptions);
    *result = groups.release();
  });
}

int mf_group_pairs(const mf_options_t* options, const char* const* values,
                   const uint64_t* counts, size_t count, const size_t* firsts,
                   const size_t* seconds, const int* scores, size_t pair_count,
                   mf_groups_t** result, char** errptr) {
  return Guarded(errptr, [&] {
    const lists::PairOptions pairOptions = api::PairOptionsOf(options);
    Require(result != nullptr, "result is NULL");
    const std::vector<std::string> copied =
        api::CopyValues(options, values, count, "values");
    std::vector<size_t> copiedCounts;
    if (counts != nullptr) copiedCounts.assign(counts, counts + count);
    auto groups = std::make_unique<mf_groups_t>();
    groups->pairs = GivenPairs(count, firsts, seconds, scores, pair_count,
                               pairOptions.accuracy);
    // The grouping scores each member against its canonical.
    api::EnsureEngine();
    groups->groups = lists::GroupDuplicates(copied, copiedCounts, groups->pairs,
                                            pairOptions);
    *result = groups.release();
  });
}

void mf_groups_destroy(mf_groups_t* groups) { delete groups; }

size_t mf_groups_count(const mf_groups_t* groups) {
  return groups != nullptr ? groups->groups.size() : 0;
}

size_t mf_groups_canonical(const mf_groups_t* groups, size_t group) {
  if (groups == nullptr || group >= groups->groups.size()) return SIZE_MAX;
  return groups->groups[group].canonical;
}

size_t mf_groups_member_count(const mf_groups_t* groups, size_t group) {
  if (groups == nullptr || group >= groups->groups.size()) return 0;
  return groups->groups[group].members.size();
}

size_t mf_groups_member_value(const mf_groups_t* groups, size_t group,
                              size_t member) {
  const lists::GroupMember* found = MemberAt(groups, group, member);
  return found != nullptr ? found->value : SIZE_MAX;
}

int mf_groups_member_score(const mf_groups_t* groups, size_t group,
                           size_t member) {
  const lists::GroupMember* found = MemberAt(groups, group, member);
  return found != nullptr ? found->score : 0;
}

size_t mf_groups_member_via(const mf_groups_t* groups, size_t group,
                            size_t member) {
  const lists::GroupMember* found = MemberAt(groups, group, member);
  return found != nullptr ? found->via : SIZE_MAX;
}

int mf_groups_member_via_score(const mf_groups_t* groups, size_t group,
                               size_t member) {
  const lists::GroupMember* found = MemberAt(groups, group, member);
  return found != nullptr ? found->viaScore : 0;
}

size_t mf_groups_pair_count(const mf_groups_t* groups) {
  return groups != nullptr ? groups->pairs.size() : 0;
}

int mf_groups_pair(const mf_groups_t* groups, size_t pair, size_t* first,
                   size_t* second, int* score) {
  if (groups == nullptr || pair >= groups->pairs.size()) return 0;
  const lists::ValuePair& found = groups->pairs[pair];
  if (first != nullptr) *first = found.first;
  if (second != nullptr) *second = found.second;
  if (score != nullptr) *score = found.score;
  return 1;
}

int mf_link(const mf_options_t* options, const char* const* a, size_t a_count,
            const char* const* b, size_t b_count, mf_links_t** result,
            char** errptr) {
  return Guarded(errptr, [&] {
    const lists::PairOptions pairOptions = api::PairOptionsOf(options);
    Require(result != nullptr, "result is NULL");
    const std::vector<std::string> copiedA =
        api::CopyValues(options, a, a_count, "a");
    const std::vector<std::string> copiedB =
        api::CopyValues(options, b, b_count, "b");
    api::EnsureEngine();
    auto links = std::make_unique<mf_links_t>();
    links->matches =
        MatchesByValue(lists::FindLinkPairs(copiedA, copiedB, pairOptions),
                       copiedA.size(), options->bestOnly);
    *result = links.release();
  });
}

void mf_links_destroy(mf_links_t* links) { delete links; }

size_t mf_links_match_count(const mf_links_t* links, size_t a_index) {
  if (links == nullptr || a_index >= links->matches.size()) return 0;
  return links->matches[a_index].size();
}

size_t mf_links_match_value(const mf_links_t* links, size_t a_index,
                            size_t match) {
  const lists::ValuePair* found = MatchAt(links, a_index, match);
  return found != nullptr ? found->second : SIZE_MAX;
}

int mf_links_match_score(const mf_links_t* links, size_t a_index,
                         size_t match) {
  const lists::ValuePair* found = MatchAt(links, a_index, match);
  return found != nullptr ? found->score : 0;
}

int mf_records_create(size_t name_fields, size_t same_fields,
                      size_t also_fields, mf_records_t** result,
                      char** errptr) {
  return Guarded(errptr, [&] {
    Require(result != nullptr, "result is NULL");
    Require(name_fields >= 1, "a record needs at least one name field");
    // A bound no real table comes near, which also keeps the field count
    // far from overflowing.
    constexpr size_t kMaxFields = 1 << 16;
    Require(name_fields <= kMaxFields && same_fields <= kMaxFields &&
                also_fields <= kMaxFields,
            "too many fields in a record");
    auto records = std::make_unique<mf_records_t>();
    records->records.nameFields = name_fields;
    records->records.sameFields = same_fields;
    records->records.alsoFields = also_fields;
    *result = records.release();
  });
}

void mf_records_destroy(mf_records_t* records) { delete records; }

int mf_records_add(mf_records_t* records, const char* const* fields,
                   char** errptr) {
  return Guarded(errptr, [&] {
    Require(records != nullptr, "records is NULL");
    Require(fields != nullptr, "fields is NULL");
    lists::RecordList& list = records->records;
    const size_t count = list.FieldCount();
    std::vector<std::string> copied;
    copied.reserve(count);
    for (size_t f = 0; f < count; ++f)
      copied.emplace_back(fields[f] != nullptr ? fields[f] : "");
    // Copied first, so that running out of memory leaves the list whole.
    list.fields.insert(list.fields.end(),
                       std::make_move_iterator(copied.begin()),
                       std::make_move_iterator(copied.end()));
  });
}

size_t mf_records_count(const mf_records_t* records) {
  return records != nullptr ? records->records.size() : 0;
}

int mf_records_dedupe(const mf_options_t* options, const mf_records_t* records,
                      mf_groups_t** result, char** errptr) {
  return Guarded(errptr, [&] {
    const lists::PairOptions pairOptions = api::PairOptionsOf(options);
    Require(records != nullptr, "records is NULL");
    Require(result != nullptr, "result is NULL");
    const lists::RecordList folded = FoldedRecords(options, records);
    api::EnsureEngine();
    auto groups = std::make_unique<mf_groups_t>();
    lists::RecordGroups found = lists::DedupeRecords(folded, pairOptions);
    groups->pairs = std::move(found.pairs);
    groups->groups = std::move(found.groups);
    *result = groups.release();
  });
}

int mf_records_link(const mf_options_t* options, const mf_records_t* a,
                    const mf_records_t* b, mf_links_t** result, char** errptr) {
  return Guarded(errptr, [&] {
    const lists::PairOptions pairOptions = api::PairOptionsOf(options);
    Require(a != nullptr, "a is NULL");
    Require(b != nullptr, "b is NULL");
    Require(result != nullptr, "result is NULL");
    Require(a->records.nameFields == b->records.nameFields &&
                a->records.sameFields == b->records.sameFields &&
                a->records.alsoFields == b->records.alsoFields,
            "a and b must have the same numbers of name, same and also "
            "fields");
    const lists::RecordList foldedA = FoldedRecords(options, a);
    const lists::RecordList foldedB = FoldedRecords(options, b);
    api::EnsureEngine();
    auto links = std::make_unique<mf_links_t>();
    links->matches =
        MatchesByValue(lists::FindLinkRecords(foldedA, foldedB, pairOptions),
                       foldedA.size(), options->bestOnly);
    *result = links.release();
  });
}

int mf_keys(const mf_options_t* options, const char* value,
            mf_strings_t** result, char** errptr) {
  return Keys(options, value, result, errptr, [](const std::string& text) {
    return lists::BlockingKeys(text);
  });
}

int mf_skeleton_key(const mf_options_t* options, const char* value,
                    mf_strings_t** result, char** errptr) {
  return Keys(options, value, result, errptr, [](const std::string& text) {
    return lists::SkeletonKey(text);
  });
}

int mf_keys_min_accuracy(void) { return lists::kBlockingKeysMinAccuracy; }

}  // extern "C"
