// Whole-list pair finding: every pair of values (within one list, or across
// two) whose score reaches an accuracy, found without scoring every pair,
// and the grouping of duplicates. This is the C++ interface that the
// command line, the Python binding and the database extension build on
// (through the layer's C interface).
//
// Values are transcribed once each; candidates come from shared blocking
// keys (blocking_keys.h) and are then scored exactly by the engine, so a
// reported score is always the score ScoreValues gives for that pair. Below
// kBlockingKeysMinAccuracy every pair is scored.
//
// How two values are scored (ScoreValues):
// - Whole cell (PairOptions::wholeCell): the value is one word, exactly as
//   compare_words sees it; in kStrict the score is compare_words(a, b).
// - Word by word (the default): each value is split into words at every
//   byte that is not a letter or an apostrophe ("Smith-Jones" is two words,
//   "O'Neil" one). Titles and suffixes (mr, mrs, ms, miss, mx, dr, prof,
//   rev, sir, jr, sr, ii, iii, iv) are dropped while another word remains.
//   A word of one letter is an initial. Only the first kMaxWordsPerValue
//   words count. Each word is transcribed on its own. Words are then paired
//   one to one regardless of order ("Smith, John" pairs with "John Smith"):
//   all word pairs are scored (an initial scores 100 against an initial or
//   word of the same first letter, 0 otherwise) and taken best first,
//   ties in order of position in a, then in b, skipping words already
//   taken. The value's score is the sum of the taken pairs' scores divided
//   by the larger word count (so a missing or extra word counts 0),
//   truncated; it is 0 when no two full words (not initials) score at
//   least kMinAlikeFullWords against each other, since initials alone
//   do not make two names alike. Values with exactly one word each score
//   as the two words do. A value without words (no letters) scores 0.
//   In tolerant scoring, a pair of full words scoring below
//   kMinUnrelatedWords is not taken unless the strict score relates
//   the two words (in either reading): the tolerant score gives unrelated
//   words some credit, and a name would otherwise match another on one
//   shared word alone.
//
// Results are identical for every thread count and every run.

#ifndef MARROWFIELD_LISTS_PAIR_FINDER_H_
#define MARROWFIELD_LISTS_PAIR_FINDER_H_

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "scoring_mode.h"
#include "word_scoring.h"

namespace marrowfield::lists {

// Called now and then with the work done so far and the total (in the
// same unspecified units, done <= total). Calls are serialised but may come
// from any of the worker threads. It must not throw.
using ProgressCallback = std::function<void(size_t done, size_t total)>;

// Asked now and then, from any of the worker threads and possibly from
// several at once, whether to stop; true stops the work. It must be cheap
// (it is asked between values and every few hundred pairs scored) and must
// not throw.
using CancelCallback = std::function<bool()>;

// Thrown by FindDuplicatePairs and FindLinkPairs when PairOptions::cancel
// said to stop; nothing they built is kept.
class Cancelled : public std::exception {
 public:
  const char* what() const noexcept override { return "cancelled"; }
};

struct PairOptions {
  // Report pairs scoring at least this (0-100; values above 100 find
  // nothing, values below 0 count as 0, and 0 reports every pair).
  int accuracy = 60;
  // Worker threads; 0 means the hardware's concurrency.
  unsigned threads = 0;
  // True: each value is one word, as compare_words sees it.
  bool wholeCell = false;
  ScoringMode scoring = ScoringMode::kStrict;
  // Optional; empty means no progress reports.
  ProgressCallback progress;
  // Optional; empty means the work always runs to its end.
  CancelCallback cancel;
};

// A found pair: indexes into the input(s) and the pair's score.
// FindDuplicatePairs: first < second, both index |values|, and score is
// ScoreValues(values[first], values[second]).
// FindLinkPairs: first indexes |a|, second indexes |b|, and score is
// ScoreValues(a[first], b[second]).
struct ValuePair {
  size_t first = 0;
  size_t second = 0;
  int score = 0;
  bool operator==(const ValuePair& o) const {
    return first == o.first && second == o.second && score == o.score;
  }
};

// The score (0-100) of two values under |options| (accuracy, threads and
// progress are ignored). REQUIRES: the engine is initialized.
int ScoreValues(const std::string& a, const std::string& b,
                const PairOptions& options);

// Every pair of |values| scoring at least options.accuracy, sorted by
// (first, second). |values| should be distinct (equal values are paired
// like any others). Throws Cancelled when options.cancel says to stop.
// REQUIRES: the engine is initialized.
std::vector<ValuePair> FindDuplicatePairs(
    const std::vector<std::string>& values, const PairOptions& options);

// Every pair (value of |a|, value of |b|) scoring at least
// options.accuracy, sorted by (first, second). Throws Cancelled when
// options.cancel says to stop. REQUIRES: the engine is initialized.
std::vector<ValuePair> FindLinkPairs(const std::vector<std::string>& a,
                                     const std::vector<std::string>& b,
                                     const PairOptions& options);

// The block of a value that FindDuplicatePairsInBlocks and
// FindLinkPairsInBlocks pair with no other value at all.
constexpr size_t kNoBlock = SIZE_MAX;

// FindDuplicatePairs, but only pairs of values in the same block:
// blocks[v] is value v's block (any number; kNoBlock: pairs with none).
// Keys are filed per block, so values of different blocks are never
// compared. REQUIRES: blocks.size() == values.size(); the engine is
// initialized.
std::vector<ValuePair> FindDuplicatePairsInBlocks(
    const std::vector<std::string>& values, const std::vector<size_t>& blocks,
    const PairOptions& options);

// FindLinkPairs, but only pairs whose values are in the same block
// (aBlocks for |a|, bBlocks for |b|, numbered alike).
// REQUIRES: aBlocks.size() == a.size(), bBlocks.size() == b.size(); the
// engine is initialized.
std::vector<ValuePair> FindLinkPairsInBlocks(const std::vector<std::string>& a,
                                             const std::vector<size_t>& aBlocks,
                                             const std::vector<std::string>& b,
                                             const std::vector<size_t>& bBlocks,
                                             const PairOptions& options);

struct GroupMember {
  size_t value = 0;  // index into the values
  size_t count = 0;  // how often it occurs (the caller's count)
  int score = 0;     // ScoreValues(canonical, this value); 100 for it
  // The member through which this one joined the group: its partner in a
  // found pair on the way to the canonical value (the canonical's own
  // index for the canonical and its direct partners). Shows chains such
  // as Smith - Smyth - Smythe, where Smythe may score below the accuracy
  // against Smith.
  size_t via = 0;
  int viaScore = 0;  // the found pair's score with |via| (100 for it)
};

struct Group {
  size_t canonical = 0;   // index of the suggested spelling
  size_t totalCount = 0;  // sum of the members' counts
  // The canonical first, then by score to it (descending), count
  // (descending), then index.
  std::vector<GroupMember> members;
};

// Groups |values| connected through |pairs| (from FindDuplicatePairs on
// the same values and options). In word-by-word mode a value with an
// initial ("J. Smith") may stand for several people, so its pairs do not
// connect groups: it joins the group of its best partner (a value without
// initials first, then the higher score, then the lower index), and
// values with initials whose partners all have initials too group among
// themselves. Values in no pair, and values left alone when their only
// partners went to other groups, form no group. Every member but the
// canonical has a found pair with its |via|.
// The canonical of a group is its most frequent value; ties go to the
// value whose found pairs in the group have the highest total score, then
// to the lower index. Groups are sorted biggest first: by totalCount, then
// member count (both descending), then canonical index. |counts| gives
// each value's count (a value beyond its end, every value when it is
// empty, counts once). Pairs naming a value outside |values| are ignored.
// REQUIRES: the engine is initialized (scores to the canonical are
// computed; without it they are 0).
std::vector<Group> GroupDuplicates(const std::vector<std::string>& values,
                                   const std::vector<size_t>& counts,
                                   const std::vector<ValuePair>& pairs,
                                   const PairOptions& options);

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_PAIR_FINDER_H_
