// The word commands: compare two words, show phones and consonant codes, and
// pick the words of a list that sound like a given word.
#include <CLI/CLI.hpp>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "commands.h"
#include "engine_session.h"
#include "file_bytes.h"
#include "input_error.h"
#include "read_flags.h"
#include "list_options.h"
#include "reader_limits.h"
#include "result_list.h"
#include "scoring_choice.h"
#include "text_decoding.h"

namespace marrowfield {

namespace {

std::string CodeOf(const std::string& word) {
  std::string buffer(16, '\0');
  int length = get_codes_for_word(word.c_str(), buffer.data(),
                                  static_cast<unsigned int>(buffer.size()));
  // A code that did not fit is reported by its length; ask again with room.
  if (length >= static_cast<int>(buffer.size())) {
    buffer.assign(static_cast<std::size_t>(length) + 1, '\0');
    length = get_codes_for_word(word.c_str(), buffer.data(),
                                static_cast<unsigned int>(buffer.size()));
  }
  buffer.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return buffer;
}

// One candidate per line, read as search reads delimited text: a
// byte-order mark dropped, UTF-16 and Windows-1252 turned into UTF-8, and
// CRLF, LF or CR ending a line. Empty lines are skipped.
std::vector<std::string> ReadCandidates(const std::string& path) {
  const std::string name = path == "-" ? "standard input" : path;
  std::string bytes = ReadFileBytes(path, ReaderLimits().fileBytes);
  std::string text;
  try {
    DecodedText decoded = DecodeText(std::move(bytes));
    if (const std::string note = DescribeTextSource(decoded.source);
        !note.empty()) {
      PrintNotices({name + ": " + note});
    }
    text = std::move(decoded.text);
  } catch (const InputError& error) {
    throw InputError(name + ": " + error.what());
  }
  std::vector<std::string> candidates;
  std::size_t start = 0;
  for (int64_t line = 1; start < text.size(); ++line) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string candidate = text.substr(start, end - start);
    if (candidate.find('\0') != std::string::npos) {
      throw InputError(name + ": line " + std::to_string(line) +
                       ": NUL byte: not a text file");
    }
    if (!candidate.empty()) candidates.push_back(std::move(candidate));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return candidates;
}

constexpr unsigned int kDefaultThreshold = 50;

struct WordsOptions {
  std::vector<std::string> words;
  bool rules = false;
  std::string scoring = "strict";
  bool noFold = false;

  std::string Folded(const std::string& word) const {
    return FoldToAscii(word, FoldingFor(noFold));
  }
};

struct SimilarOptions {
  std::string word;
  std::string file = "-";
  unsigned int threshold = kDefaultThreshold;
  std::string scoring = "strict";
  bool noFold = false;
};

int RunCompare(const WordsOptions& options) {
  if (options.scoring == "tolerant") {
    WriteOutput(std::to_string(CompareTolerant(options.Folded(options.words.at(0)),
                                               options.Folded(options.words.at(1)))) +
                "\n");
    return 0;
  }
  const EngineSession engine;
  const int score = compare_words(options.Folded(options.words.at(0)).c_str(),
                                  options.Folded(options.words.at(1)).c_str());
  WriteOutput(std::to_string(score) + "\n");
  return 0;
}

int RunPhones(const WordsOptions& options) {
  const EngineSession engine;
  const int mode = options.rules ? MODE_LTS_ONLY : MODE_LEXICON;
  std::string out;
  for (const std::string& word : options.words) {
    const std::vector<std::string> phones = TakeStrings(
        ResultList(get_phonemes(options.Folded(word).c_str(), mode)));
    out += word + "\t" + JoinWithSpaces(phones) + "\n";
  }
  WriteOutput(out);
  return 0;
}

int RunCode(const WordsOptions& options) {
  const EngineSession engine;
  std::string out;
  for (const std::string& word : options.words) {
    out += word + "\t" + CodeOf(options.Folded(word)) + "\n";
  }
  WriteOutput(out);
  return 0;
}

// The engine's own list search: the |candidates| scoring at least
// |threshold| against |word|, best first.
std::vector<std::string> SimilarStrict(
    const std::string& word, const std::vector<std::string>& candidates,
    unsigned int threshold) {
  std::vector<const char*> list;
  list.reserve(candidates.size());
  for (const std::string& candidate : candidates) {
    list.push_back(candidate.c_str());
  }
  const EngineSession engine;
  set_threshold(threshold);
  return TakeStrings(ResultList(get_similar_words_from_list(
      word.c_str(), list.data(), static_cast<unsigned int>(list.size()))));
}

int RunSimilar(const SimilarOptions& options) {
  const TextFolding folding = FoldingFor(options.noFold);
  const std::string word = FoldToAscii(options.word, folding);
  if (!HasLetter(word)) {
    throw InputError(
        "similar: the word holds no letter, so nothing sounds like it");
  }
  const std::vector<std::string> lines = ReadCandidates(options.file);
  // The folded lines are scored and handed back; each is traced
  // to the first line not yet listed that folds to it, so that the lines
  // are printed as the file holds them.
  std::vector<std::string> folded;
  std::unordered_map<std::string, std::deque<std::size_t>> linesOf;
  folded.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    folded.push_back(FoldToAscii(lines[i], folding));
    linesOf[folded.back()].push_back(i);
  }
  const std::vector<std::string> similar =
      options.scoring == "tolerant"
          ? SimilarTolerant(word, folded, options.threshold)
          : SimilarStrict(word, folded, options.threshold);
  std::vector<bool> listed(lines.size(), false);
  std::string out;
  for (const std::string& found : similar) {
    std::deque<std::size_t>& candidates = linesOf[found];
    if (candidates.empty()) continue;
    listed[candidates.front()] = true;
    out += lines[candidates.front()] + "\n";
    candidates.pop_front();
  }
  // At 0 every line is accepted, as search -a 0 lists every text cell; the
  // engine leaves out the lines that score 0 or have no phones, and they
  // follow the others in list order.
  if (options.threshold == 0) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (!listed[i]) out += lines[i] + "\n";
    }
  }
  WriteOutput(out);
  return out.empty() ? 1 : 0;
}

}  // namespace

Subcommand AddCompareCommand(CLI::App& parent) {
  auto options = std::make_shared<WordsOptions>();
  options->words.resize(2);
  CLI::App* app = parent.add_subcommand(
      "compare", "Print how alike two words sound, in percent (0-100).");
  app->add_option("WORD1", options->words[0], "First word")->required();
  app->add_option("WORD2", options->words[1], "Second word")->required();
  AddScoringOption(*app, options->scoring);
  AddNoFoldOption(*app, options->noFold);
  return Subcommand{app, [options] { return RunCompare(*options); }};
}

Subcommand AddPhonesCommand(CLI::App& parent) {
  auto options = std::make_shared<WordsOptions>();
  CLI::App* app = parent.add_subcommand(
      "phones",
      "Print the phones of each word: the word, a tab, its phones separated "
      "by spaces.");
  app->add_option("WORD", options->words, "Words to transcribe")->required();
  app->add_flag("-r,--rules", options->rules,
                "Use the letter-to-sound rules alone, not the lexicon");
  AddNoFoldOption(*app, options->noFold);
  return Subcommand{app, [options] { return RunPhones(*options); }};
}

Subcommand AddCodeCommand(CLI::App& parent) {
  auto options = std::make_shared<WordsOptions>();
  CLI::App* app = parent.add_subcommand(
      "code",
      "Print the consonant code of each word: the word, a tab, its code. The "
      "word is looked up exactly as given, so give it in lower case.");
  app->add_option("WORD", options->words, "Words to code")->required();
  AddNoFoldOption(*app, options->noFold);
  return Subcommand{app, [options] { return RunCode(*options); }};
}

Subcommand AddSimilarCommand(CLI::App& parent) {
  auto options = std::make_shared<SimilarOptions>();
  CLI::App* app = parent.add_subcommand(
      "similar",
      "Print the words of a list (one per line) that sound like WORD, best "
      "first; with --threshold 0 every line. Exit status: 0 with results, 1 "
      "when none, 2 on errors.");
  app->add_option("WORD", options->word, "Word to look for")->required();
  app->add_option("FILE", options->file,
                  "List of candidates, one per line (default or -: standard "
                  "input)");
  app->add_option("-t,--threshold", options->threshold,
                  "Lowest similarity accepted, 0-100")
      ->default_val(kDefaultThreshold)
      ->check(PercentCheck("threshold"));
  AddScoringOption(*app, options->scoring);
  AddNoFoldOption(*app, options->noFold);
  return Subcommand{app, [options] { return RunSimilar(*options); }};
}

}  // namespace marrowfield
