// The functions score through the sheet search's own scorers, so that a
// formula and the search dialog always give a cell the same score, and
// each distinct text of a range reaches the engine once.

#include "sheet_function_core.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <utility>

#include "marrowfield.h"
#include "marrowfield/cell_scorer.h"
#include "xloper.h"

namespace marrowfield {
namespace {

bool HasLetter(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  });
}

// Reads the text argument: its text folded to ASCII, or the error the cell
// should show. An error passed in is passed on, as Excel's own functions
// do.
bool ReadText(const SheetArgument& argument, TextFolding folding,
              std::string* text, SheetAnswer* failure) {
  if (argument.kind == SheetArgument::Kind::kError) {
    *failure = SheetAnswer::Error(argument.error);
    return false;
  }
  if (argument.kind == SheetArgument::Kind::kText) {
    *text = FoldToAscii(argument.text, folding);
  }
  if (argument.kind != SheetArgument::Kind::kText || !HasLetter(*text)) {
    *failure = SheetAnswer::Error(xlerrValue);
    return false;
  }
  return true;
}

}  // namespace

bool ReadSheetAccuracy(const SheetArgument& argument, double* accuracy,
                       SheetAnswer* failure) {
  switch (argument.kind) {
    case SheetArgument::Kind::kMissing:
    case SheetArgument::Kind::kEmpty:
      *accuracy = kDefaultAccuracy;
      return true;
    case SheetArgument::Kind::kNumber:
      if (!(argument.number >= 0 && argument.number <= 100)) {
        *failure = SheetAnswer::Error(xlerrNum);
        return false;
      }
      *accuracy = argument.number;
      return true;
    case SheetArgument::Kind::kError:
      *failure = SheetAnswer::Error(argument.error);
      return false;
    default:
      *failure = SheetAnswer::Error(xlerrValue);
      return false;
  }
}

bool ReadSheetScoring(const SheetArgument& argument, SheetScoring defaults,
                      SheetScoring* scoring, SheetAnswer* failure) {
  switch (argument.kind) {
    case SheetArgument::Kind::kMissing:
    case SheetArgument::Kind::kEmpty:
      *scoring = defaults;
      return true;
    case SheetArgument::Kind::kText:
      if (ParseSheetScoring(argument.text, defaults, scoring)) return true;
      *failure = SheetAnswer::Error(xlerrValue);
      return false;
    case SheetArgument::Kind::kError:
      *failure = SheetAnswer::Error(argument.error);
      return false;
    default:
      *failure = SheetAnswer::Error(xlerrValue);
      return false;
  }
}

namespace {

// One distinct text of a range with its score and first position.
struct Candidate {
  const std::string* text;
  std::size_t firstIndex;
  int32_t score;
};

// Scores every distinct text of |range| once, in order of first
// appearance.
std::vector<Candidate> ScoreDistinct(const std::string& text,
                                     const SheetRange& range,
                                     const SheetScoring& scoring,
                                     TextFolding folding) {
  const std::unique_ptr<CellScorer> scorer =
      MakeSheetScorer(text, scoring, folding);
  std::unordered_map<std::string, std::size_t> seen;
  seen.reserve(range.texts.size());
  std::vector<Candidate> candidates;
  for (std::size_t i = 0; i < range.texts.size(); ++i) {
    const std::string& cell = range.texts[i];
    if (!seen.emplace(cell, candidates.size()).second) continue;
    candidates.push_back(Candidate{&cell, i, scorer->Score(cell)});
  }
  return candidates;
}

// The shared start of the range functions: the arguments read and every
// distinct text of the range scored, or the error to show.
bool ScoreRange(const SheetArgument& text, const SheetRange& range,
                const SheetArgument& accuracy, const SheetArgument& scoring,
                TextFolding folding, std::vector<Candidate>* candidates,
                double* level, SheetAnswer* failure) {
  std::string searchText;
  if (!ReadText(text, folding, &searchText, failure)) return false;
  if (range.error >= 0) {
    *failure = SheetAnswer::Error(range.error);
    return false;
  }
  if (!ReadSheetAccuracy(accuracy, level, failure)) return false;
  SheetScoring chosen;
  if (!ReadSheetScoring(scoring, SheetScoring{}, &chosen, failure)) {
    return false;
  }
  *candidates = ScoreDistinct(searchText, range, chosen, folding);
  return true;
}

// The first best candidate; null when there is none.
const Candidate* Best(const std::vector<Candidate>& candidates) {
  const Candidate* best = nullptr;
  for (const Candidate& candidate : candidates) {
    if (best == nullptr || candidate.score > best->score) best = &candidate;
  }
  return best;
}

}  // namespace

SheetAnswer SheetAnswer::Number(double number) {
  SheetAnswer answer;
  answer.kind = Kind::kNumber;
  answer.number = number;
  return answer;
}

SheetAnswer SheetAnswer::Text(std::string text) {
  SheetAnswer answer;
  answer.kind = Kind::kText;
  answer.text = std::move(text);
  return answer;
}

SheetAnswer SheetAnswer::Error(int32_t error) {
  SheetAnswer answer;
  answer.kind = Kind::kError;
  answer.error = error;
  return answer;
}

SheetAnswer SheetAnswer::Column(std::vector<std::string> texts) {
  SheetAnswer answer;
  answer.kind = Kind::kColumn;
  answer.column = std::move(texts);
  return answer;
}

SheetAnswer SheetAnswer::Grid(std::vector<std::string> texts,
                              std::size_t columns) {
  SheetAnswer answer;
  answer.kind = Kind::kGrid;
  answer.column = std::move(texts);
  answer.columns = columns;
  return answer;
}

SheetAnswer SheetScore(const SheetArgument& text1, const SheetArgument& text2,
                       const SheetArgument& scoring, TextFolding folding) {
  std::string first;
  std::string second;
  SheetAnswer failure;
  if (!ReadText(text1, folding, &first, &failure)) return failure;
  if (!ReadText(text2, folding, &second, &failure)) return failure;
  SheetScoring chosen;
  if (!ReadSheetScoring(scoring, SheetScoring{}, &chosen, &failure)) {
    return failure;
  }
  // Both texts are folded already; folding ASCII again changes nothing.
  return SheetAnswer::Number(
      MakeSheetScorer(first, chosen, TextFolding::kNone)->Score(second));
}

SheetAnswer SheetPhones(const SheetArgument& text, TextFolding folding) {
  std::string word;
  SheetAnswer failure;
  if (!ReadText(text, folding, &word, &failure)) return failure;
  ResultIterator* phones = get_phonemes(word.c_str(), MODE_LEXICON);
  std::string joined;
  const int count = get_result_size(phones);
  for (int i = 0; i < count; ++i) {
    if (i > 0) joined += ' ';
    joined += get_result_item(phones, i);
  }
  close_result_iterator(phones);
  if (joined.empty()) return SheetAnswer::Error(xlerrValue);
  return SheetAnswer::Text(std::move(joined));
}

SheetAnswer SheetCode(const SheetArgument& text, TextFolding folding) {
  std::string word;
  SheetAnswer failure;
  if (!ReadText(text, folding, &word, &failure)) return failure;
  const int length = get_codes_for_word(word.c_str(), nullptr, 0);
  std::string code(static_cast<std::size_t>(length) + 1, '\0');
  get_codes_for_word(word.c_str(), code.data(),
                     static_cast<unsigned int>(code.size()));
  code.resize(static_cast<std::size_t>(length));
  return SheetAnswer::Text(std::move(code));
}

SheetAnswer SheetBest(const SheetArgument& text, const SheetRange& range,
                      const SheetArgument& accuracy,
                      const SheetArgument& scoring, TextFolding folding) {
  std::vector<Candidate> candidates;
  double level = 0;
  SheetAnswer failure;
  if (!ScoreRange(text, range, accuracy, scoring, folding, &candidates, &level,
                  &failure)) {
    return failure;
  }
  const Candidate* best = Best(candidates);
  if (best == nullptr || best->score < level) {
    return SheetAnswer::Error(xlerrNA);
  }
  return SheetAnswer::Text(*best->text);
}

SheetAnswer SheetMatches(const SheetArgument& text, const SheetRange& range,
                         const SheetArgument& accuracy,
                         const SheetArgument& scoring, TextFolding folding) {
  std::vector<Candidate> candidates;
  double level = 0;
  SheetAnswer failure;
  if (!ScoreRange(text, range, accuracy, scoring, folding, &candidates, &level,
                  &failure)) {
    return failure;
  }
  std::vector<Candidate> kept;
  for (const Candidate& candidate : candidates) {
    if (candidate.score >= level) kept.push_back(candidate);
  }
  if (kept.empty()) return SheetAnswer::Error(xlerrNA);
  // Stable: equal scores stay in reading order, so the first row is BEST.
  std::stable_sort(
      kept.begin(), kept.end(),
      [](const Candidate& a, const Candidate& b) { return a.score > b.score; });
  std::vector<std::string> texts;
  texts.reserve(kept.size());
  for (const Candidate& candidate : kept) texts.push_back(*candidate.text);
  return SheetAnswer::Column(std::move(texts));
}

SheetAnswer SheetBestScore(const SheetArgument& text, const SheetRange& range,
                           const SheetArgument& scoring, TextFolding folding) {
  std::vector<Candidate> candidates;
  double level = 0;
  SheetAnswer failure;
  if (!ScoreRange(text, range, SheetArgument{}, scoring, folding, &candidates,
                  &level, &failure)) {
    return failure;
  }
  const Candidate* best = Best(candidates);
  if (best == nullptr) return SheetAnswer::Error(xlerrNA);
  return SheetAnswer::Number(best->score);
}

}  // namespace marrowfield
