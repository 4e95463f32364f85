// The sniffer counts each candidate per record, outside quoted fields, and
// looks at how often the most common count occurs. A real delimiter gives
// every record the same count (ragged records aside); a comma inside names
// or a decimal comma does not.
#include "delimiter_sniffer.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <vector>

namespace marrowfield {

namespace {

constexpr std::size_t kSampledRecords = 20;
constexpr std::size_t kCandidates = sizeof kSniffedDelimiters;

using Counts = std::array<std::size_t, kCandidates>;

// The per-record counts of each candidate in the first records of |text|.
// A quote toggles quoting, so a delimiter or line break inside a quoted
// field is not counted and does not end the record.
std::vector<Counts> CountPerRecord(std::string_view text) {
  std::vector<Counts> records;
  Counts counts{};
  bool quoted = false;
  bool blank = true;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '"') {
      quoted = !quoted;
      blank = false;
      continue;
    }
    if (!quoted && (c == '\n' || c == '\r')) {
      if (!blank) records.push_back(counts);
      if (records.size() == kSampledRecords) return records;
      counts = Counts{};
      blank = true;
      continue;
    }
    if (c != ' ') blank = false;
    if (quoted) continue;
    for (std::size_t k = 0; k < kCandidates; ++k) {
      counts[k] += c == kSniffedDelimiters[k];
    }
  }
  if (!blank) records.push_back(counts);
  return records;
}

// Whether candidate |k| has one nonzero count in nine records of ten.
bool IsConsistent(const std::vector<Counts>& records, std::size_t k) {
  std::map<std::size_t, std::size_t> seen;
  for (const Counts& counts : records) ++seen[counts[k]];
  std::size_t modeCount = 0;
  std::size_t mode = 0;
  for (const auto& [count, recordsWithIt] : seen) {
    // Ties go to the larger count: records short of a field are the usual
    // exception, not records with an extra one.
    if (recordsWithIt >= modeCount) {
      modeCount = recordsWithIt;
      mode = count;
    }
  }
  return mode > 0 && modeCount * 10 >= records.size() * 9;
}

}  // namespace

char SniffDelimiter(std::string_view text, char preferred) {
  const std::vector<Counts> records = CountPerRecord(text);
  if (records.empty()) return preferred;
  char chosen = 0;
  for (std::size_t k = 0; k < kCandidates; ++k) {
    if (!IsConsistent(records, k)) continue;
    if (kSniffedDelimiters[k] == preferred) return preferred;
    if (chosen == 0) chosen = kSniffedDelimiters[k];
  }
  return chosen != 0 ? chosen : preferred;
}

std::string DelimiterName(char delimiter) {
  switch (delimiter) {
    case ',':
      return "comma";
    case '\t':
      return "tab";
    case ';':
      return "semicolon";
    default:
      return std::string("'") + delimiter + "'";
  }
}

}  // namespace marrowfield
