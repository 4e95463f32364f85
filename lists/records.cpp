// Duplicate records: identical records collapsed, each distinct record's
// name filed within its block (the same fields' normalised values), pairs
// found by the pair finder, also fields scored afterwards on the found
// pairs only, and groups formed by GroupDuplicates over the distinct
// records before every copy is put back.

#include "records.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <unordered_map>
#include <utility>

#include "distinct_texts.h"
#include "marrowfield/text_folding.h"
#include "parallel_chunks.h"
#include "phone_tables.h"
#include "value_scorer.h"

namespace marrowfield::lists {
namespace {

// Found pairs per chunk when scoring also fields.
constexpr size_t kPairsPerChunk = 1024;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' ||
         c == '\f';
}

bool LooksLikePhone(std::string_view text) {
  size_t digits = 0;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (!IsBlank(c) &&
               std::string_view("+-()./").find(c) == std::string_view::npos) {
      return false;
    }
  }
  return digits >= 5;
}

bool HasLetter(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  });
}

// Appends |field| so that no two different lists of fields give the same
// text (a field may hold any byte).
void AppendField(std::string& key, std::string_view field) {
  key += std::to_string(field.size());
  key += ':';
  key += field;
}

// Numbers the blocks of records by their same fields' texts; one
// numbering serves both lists of a link.
class BlockNumbers {
 public:
  size_t Of(const RecordList& records, size_t r) {
    // A list holds its few cities a million times over: their fields as
    // written are looked up first, and only a new spelling is normalised.
    const size_t first = records.nameFields;
    written.clear();
    for (size_t f = first; f < first + records.sameFields; ++f)
      AppendField(written, records.Field(r, f));
    const auto known = byWritten.find(written);
    if (known != byWritten.end()) return known->second;
    std::string key;
    size_t block = kNoBlock;
    for (size_t f = first; f < first + records.sameFields; ++f) {
      const std::string text = SameFieldText(records.Field(r, f));
      if (text.empty()) {
        key.clear();
        break;
      }
      AppendField(key, text);
    }
    if (!key.empty() || records.sameFields == 0)
      block = numbers.emplace(std::move(key), numbers.size()).first->second;
    byWritten.emplace(written, block);
    return block;
  }

 private:
  std::unordered_map<std::string, size_t> numbers;
  std::unordered_map<std::string, size_t> byWritten;
  std::string written;
};

// The distinct records of a list: the first copy of each, in record order,
// how often each occurs, and each record's distinct index.
struct DistinctRecords {
  std::vector<size_t> first;
  std::vector<size_t> counts;
  std::vector<size_t> ofRecord;
};

// The distinct records, numbered on |threads| threads: each record's
// fields written one after another into one buffer (AppendField keeps two
// different lists of fields apart), and the texts numbered as the distinct
// cells of a column are.
DistinctRecords FindDistinct(const RecordList& records, unsigned threads) {
  DistinctRecords distinct;
  const size_t n = records.size();
  std::vector<size_t> ends(n);
  std::string all;
  size_t bytes = 0;
  for (const std::string& field : records.fields) bytes += field.size() + 8;
  all.reserve(bytes);
  for (size_t r = 0; r < n; ++r) {
    for (size_t f = 0; f < records.FieldCount(); ++f)
      AppendField(all, records.Field(r, f));
    ends[r] = all.size();
  }
  std::vector<std::string_view> texts(n);
  for (size_t r = 0, begin = 0; r < n; begin = ends[r++])
    texts[r] = std::string_view(all).substr(begin, ends[r] - begin);
  const DistinctTexts numbered = NumberDistinctTexts(texts, threads);
  distinct.first.assign(numbered.firstItem.begin(), numbered.firstItem.end());
  distinct.ofRecord.assign(numbered.ofItem.begin(), numbered.ofItem.end());
  distinct.counts.assign(distinct.first.size(), 0);
  for (const uint32_t d : numbered.ofItem) ++distinct.counts[d];
  return distinct;
}

// Names and blocks of the records |which| of |records|; records whose
// name has no letters are in no block.
void NamesAndBlocks(const RecordList& records, const std::vector<size_t>& which,
                    BlockNumbers& numbers, std::vector<std::string>& names,
                    std::vector<size_t>& blocks) {
  names.reserve(which.size());
  blocks.reserve(which.size());
  for (const size_t r : which) {
    names.push_back(RecordName(records, r));
    blocks.push_back(HasLetter(names.back()) ? numbers.Of(records, r)
                                             : kNoBlock);
  }
}

std::vector<size_t> AllRecords(const RecordList& records) {
  std::vector<size_t> all(records.size());
  for (size_t r = 0; r < all.size(); ++r) all[r] = r;
  return all;
}

// Scores records by the rule of records.h; not thread-safe (one per
// thread), as its ValueScorer is not.
class RecordScorer {
 public:
  explicit RecordScorer(const PairOptions& options)
      : scorer(options.wholeCell, options.scoring) {}

  // The least of |nameScore| and the also fields' scores of record |a| of
  // |ra| against record |b| of |rb|.
  int WithAlsoFields(const RecordList& ra, size_t a, const RecordList& rb,
                     size_t b, int nameScore) {
    int score = nameScore;
    const size_t first = ra.nameFields + ra.sameFields;
    for (size_t f = first; f < ra.FieldCount() && score > 0; ++f) {
      const std::string& x = ra.Field(a, f);
      const std::string& y = rb.Field(b, f);
      // Without letters a field has no sound to score (a number belongs
      // among the same fields); it says nothing either way.
      if (!HasLetter(x) || !HasLetter(y)) continue;
      score =
          std::min(score, scorer.Score(scorer.Prepare(x), scorer.Prepare(y)));
    }
    return score;
  }

  int Name(const std::string& a, const std::string& b) {
    return scorer.Score(scorer.Prepare(a), scorer.Prepare(b));
  }

 private:
  ValueScorer scorer;
};

// Keeps the pairs of |pairs| (indexes into |which| of |ra| and |whichB| of
// |rb|) whose score with the also fields still reaches the accuracy, with
// that score.
std::vector<ValuePair> ApplyAlsoFields(const RecordList& ra,
                                       const std::vector<size_t>& whichA,
                                       const RecordList& rb,
                                       const std::vector<size_t>& whichB,
                                       std::vector<ValuePair> pairs,
                                       const PairOptions& options) {
  if (ra.alsoFields == 0 || pairs.empty()) return pairs;
  const int accuracy = std::max(0, options.accuracy);
  const size_t chunks = (pairs.size() + kPairsPerChunk - 1) / kPairsPerChunk;
  const unsigned workers = WorkerCount(options.threads, chunks);
  std::vector<std::unique_ptr<RecordScorer>> scorers(workers);
  std::vector<char> keep(pairs.size(), 0);
  RunChunks(pairs.size(), kPairsPerChunk, workers,
            [&](unsigned worker, size_t, size_t begin, size_t end) {
              auto& scorer = scorers[worker];
              if (!scorer) scorer = std::make_unique<RecordScorer>(options);
              for (size_t k = begin; k < end; ++k) {
                ValuePair& p = pairs[k];
                p.score = scorer->WithAlsoFields(ra, whichA[p.first], rb,
                                                 whichB[p.second], p.score);
                keep[k] = p.score >= accuracy;
              }
            });
  std::vector<ValuePair> kept;
  for (size_t k = 0; k < pairs.size(); ++k) {
    if (keep[k]) kept.push_back(pairs[k]);
  }
  return kept;
}

}  // namespace

std::string SameFieldText(std::string_view field) {
  const std::string folded = FoldToAscii(field, TextFolding::kUtf8);
  std::string text;
  if (LooksLikePhone(folded)) {
    for (const char c : folded) {
      if (c >= '0' && c <= '9') text.push_back(c);
    }
    return text;
  }
  bool blank = false;
  for (const char c : folded) {
    if (IsBlank(c)) {
      blank = !text.empty();
      continue;
    }
    if (blank) text.push_back(' ');
    blank = false;
    text.push_back(
        static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return text;
}

std::string RecordName(const RecordList& records, size_t r) {
  std::string name;
  for (size_t f = 0; f < records.nameFields; ++f) {
    const std::string& field = records.Field(r, f);
    if (field.empty()) continue;
    if (!name.empty()) name.push_back(' ');
    name += field;
  }
  return name;
}

int ScoreRecords(const RecordList& records, size_t a, size_t b,
                 const PairOptions& options) {
  if (a >= records.size() || b >= records.size()) return -1;
  BlockNumbers numbers;
  const size_t blockA = numbers.Of(records, a);
  if (blockA == kNoBlock || blockA != numbers.Of(records, b)) return -1;
  if (!PhoneTablesReady()) return 0;
  RecordScorer scorer(options);
  const int name = scorer.Name(RecordName(records, a), RecordName(records, b));
  return scorer.WithAlsoFields(records, a, records, b, name);
}

namespace {

// What finding and grouping duplicates share: the distinct records, and
// their names and blocks.
struct PreparedRecords {
  DistinctRecords distinct;
  std::vector<std::string> names;
  std::vector<size_t> blocks;
};

PreparedRecords Prepare(const RecordList& records, unsigned threads) {
  PreparedRecords prepared;
  prepared.distinct = FindDistinct(records, threads);
  BlockNumbers numbers;
  NamesAndBlocks(records, prepared.distinct.first, numbers, prepared.names,
                 prepared.blocks);
  return prepared;
}

std::vector<ValuePair> FindPreparedPairs(const RecordList& records,
                                         const PreparedRecords& prepared,
                                         const PairOptions& options) {
  const std::vector<size_t>& first = prepared.distinct.first;
  std::vector<ValuePair> pairs = ApplyAlsoFields(
      records, first, records, first,
      FindDuplicatePairsInBlocks(prepared.names, prepared.blocks, options),
      options);
  // First copies are in record order, so the pairs stay sorted.
  for (ValuePair& p : pairs) {
    p.first = first[p.first];
    p.second = first[p.second];
  }
  return pairs;
}

std::vector<Group> GroupPrepared(const RecordList& records,
                                 const PreparedRecords& prepared,
                                 const std::vector<ValuePair>& pairs,
                                 const PairOptions& options) {
  const DistinctRecords& distinct = prepared.distinct;
  const std::vector<std::string>& names = prepared.names;
  const std::vector<size_t>& blocks = prepared.blocks;
  // Pairs in distinct indexes; a pair naming a copy other than the first
  // did not come from FindDuplicateRecords and is ignored.
  std::vector<ValuePair> distinctPairs;
  distinctPairs.reserve(pairs.size());
  const size_t n = records.size();
  for (const ValuePair& p : pairs) {
    if (p.first >= n || p.second >= n) continue;
    const size_t a = distinct.ofRecord[p.first];
    const size_t b = distinct.ofRecord[p.second];
    if (distinct.first[a] != p.first || distinct.first[b] != p.second) continue;
    distinctPairs.push_back({a, b, p.score});
  }
  std::vector<Group> groups =
      GroupDuplicates(names, distinct.counts, distinctPairs, options);

  // Copies of one comparable record are duplicates even with no partner.
  std::vector<char> grouped(distinct.first.size(), 0);
  for (const Group& g : groups) {
    for (const GroupMember& m : g.members) grouped[m.value] = 1;
  }
  for (size_t d = 0; d < distinct.first.size(); ++d) {
    if (grouped[d] || distinct.counts[d] < 2 || blocks[d] == kNoBlock) continue;
    Group g;
    g.canonical = d;
    g.totalCount = distinct.counts[d];
    g.members.push_back({d, distinct.counts[d], 100, d, 100});
    groups.push_back(std::move(g));
  }

  // GroupDuplicates scored members by name; the also fields may lower it.
  std::unique_ptr<RecordScorer> scorer;
  if (records.alsoFields > 0 && PhoneTablesReady())
    scorer = std::make_unique<RecordScorer>(options);

  // Back to records: each distinct member, then its other copies.
  std::vector<std::vector<size_t>> copies(distinct.first.size());
  for (size_t r = 0; r < n; ++r) {
    const size_t d = distinct.ofRecord[r];
    if (grouped[d] || distinct.counts[d] >= 2) copies[d].push_back(r);
  }
  for (Group& g : groups) {
    const size_t canonical = distinct.first[g.canonical];
    std::vector<GroupMember> members;
    members.reserve(g.totalCount);
    for (const GroupMember& m : g.members) {
      const size_t record = distinct.first[m.value];
      int score = m.score;
      if (scorer && m.value != g.canonical) {
        score =
            scorer->WithAlsoFields(records, canonical, records, record, score);
      }
      const size_t via = distinct.first[m.via];
      members.push_back({record, 1, score, via, m.viaScore});
      for (const size_t copy : copies[m.value]) {
        if (copy != record) members.push_back({copy, 1, score, record, 100});
      }
    }
    g.canonical = canonical;
    g.members = std::move(members);
  }
  std::sort(groups.begin(), groups.end(), [](const Group& x, const Group& y) {
    if (x.totalCount != y.totalCount) return x.totalCount > y.totalCount;
    return x.canonical < y.canonical;
  });
  return groups;
}

}  // namespace

std::vector<ValuePair> FindDuplicateRecords(const RecordList& records,
                                            const PairOptions& options) {
  return FindPreparedPairs(records, Prepare(records, options.threads),
                           options);
}

std::vector<Group> GroupDuplicateRecords(const RecordList& records,
                                         const std::vector<ValuePair>& pairs,
                                         const PairOptions& options) {
  return GroupPrepared(records, Prepare(records, options.threads), pairs,
                       options);
}

RecordGroups DedupeRecords(const RecordList& records,
                           const PairOptions& options) {
  const PreparedRecords prepared = Prepare(records, options.threads);
  RecordGroups found;
  found.pairs = FindPreparedPairs(records, prepared, options);
  found.groups = GroupPrepared(records, prepared, found.pairs, options);
  return found;
}

std::vector<ValuePair> FindLinkRecords(const RecordList& a, const RecordList& b,
                                       const PairOptions& options) {
  if (a.nameFields != b.nameFields || a.sameFields != b.sameFields ||
      a.alsoFields != b.alsoFields) {
    return {};
  }
  BlockNumbers numbers;
  const std::vector<size_t> allA = AllRecords(a);
  const std::vector<size_t> allB = AllRecords(b);
  std::vector<std::string> namesA;
  std::vector<std::string> namesB;
  std::vector<size_t> blocksA;
  std::vector<size_t> blocksB;
  NamesAndBlocks(a, allA, numbers, namesA, blocksA);
  NamesAndBlocks(b, allB, numbers, namesB, blocksB);
  return ApplyAlsoFields(
      a, allA, b, allB,
      FindLinkPairsInBlocks(namesA, blocksA, namesB, blocksB, options),
      options);
}

}  // namespace marrowfield::lists
