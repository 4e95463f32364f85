// The word commands: compare two words, show phones and consonant codes, and
// pick the words of a list that sound like a given word.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "engine_session.h"
#include "file_bytes.h"
#include "input_error.h"
#include "reader_limits.h"
#include "list_options.h"
#include "result_list.h"
#include "scoring_choice.h"

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

// One candidate per line; line ends LF or CRLF; empty lines are skipped.
std::vector<std::string> ReadCandidates(const std::string& path) {
  const std::string bytes = ReadFileBytes(path, ReaderLimits().fileBytes);
  const std::string name = path == "-" ? "standard input" : path;
  std::vector<std::string> candidates;
  std::size_t start = 0;
  for (int64_t line = 1; start < bytes.size(); ++line) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string candidate = bytes.substr(start, end - start);
    if (!candidate.empty() && candidate.back() == '\r') candidate.pop_back();
    if (candidate.find('\0') != std::string::npos) {
      throw InputError(name + ": line " + std::to_string(line) +
                       ": NUL byte: not a text file");
    }
    if (!candidate.empty()) candidates.push_back(std::move(candidate));
    start = end + 1;
  }
  return candidates;
}

constexpr unsigned int kDefaultThreshold = 50;

struct WordsOptions {
  std::vector<std::string> words;
  bool rules = false;
  std::string scoring = "strict";
};

struct SimilarOptions {
  std::string word;
  std::string file = "-";
  unsigned int threshold = kDefaultThreshold;
  std::string scoring = "strict";
};

int RunCompare(const WordsOptions& options) {
  if (options.scoring == "tolerant") {
    WriteOutput(std::to_string(CompareTolerant(options.words.at(0),
                                               options.words.at(1))) +
                "\n");
    return 0;
  }
  const EngineSession engine;
  const int score =
      compare_words(options.words.at(0).c_str(), options.words.at(1).c_str());
  WriteOutput(std::to_string(score) + "\n");
  return 0;
}

int RunPhones(const WordsOptions& options) {
  const EngineSession engine;
  const int mode = options.rules ? MODE_LTS_ONLY : MODE_LEXICON;
  std::string out;
  for (const std::string& word : options.words) {
    const std::vector<std::string> phones =
        TakeStrings(ResultList(get_phonemes(word.c_str(), mode)));
    out += word + "\t" + JoinWithSpaces(phones) + "\n";
  }
  WriteOutput(out);
  return 0;
}

int RunCode(const WordsOptions& options) {
  const EngineSession engine;
  std::string out;
  for (const std::string& word : options.words) {
    out += word + "\t" + CodeOf(word) + "\n";
  }
  WriteOutput(out);
  return 0;
}

int RunSimilar(const SimilarOptions& options) {
  const std::vector<std::string> candidates = ReadCandidates(options.file);
  if (options.scoring == "tolerant") {
    const std::vector<std::string> similar =
        SimilarTolerant(options.word, candidates, options.threshold);
    std::string out;
    for (const std::string& word : similar) out += word + "\n";
    WriteOutput(out);
    return similar.empty() ? 1 : 0;
  }
  std::vector<const char*> list;
  list.reserve(candidates.size());
  for (const std::string& candidate : candidates) {
    list.push_back(candidate.c_str());
  }
  const EngineSession engine;
  set_threshold(options.threshold);
  const std::vector<std::string> similar = TakeStrings(ResultList(
      get_similar_words_from_list(options.word.c_str(), list.data(),
                                  static_cast<unsigned int>(list.size()))));
  std::string out;
  for (const std::string& word : similar) out += word + "\n";
  WriteOutput(out);
  return similar.empty() ? 1 : 0;
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
  return Subcommand{app, [options] { return RunPhones(*options); }};
}

Subcommand AddCodeCommand(CLI::App& parent) {
  auto options = std::make_shared<WordsOptions>();
  CLI::App* app = parent.add_subcommand(
      "code",
      "Print the consonant code of each word: the word, a tab, its code. The "
      "word is looked up exactly as given, so give it in lower case.");
  app->add_option("WORD", options->words, "Words to code")->required();
  return Subcommand{app, [options] { return RunCode(*options); }};
}

Subcommand AddSimilarCommand(CLI::App& parent) {
  auto options = std::make_shared<SimilarOptions>();
  CLI::App* app = parent.add_subcommand(
      "similar",
      "Print the words of a list (one per line) that sound like WORD, best "
      "first. Exit status: 0 with results, 1 when none, 2 on errors.");
  app->add_option("WORD", options->word, "Word to look for")->required();
  app->add_option("FILE", options->file,
                  "List of candidates, one per line (default or -: standard "
                  "input)");
  app->add_option("-t,--threshold", options->threshold,
                  "Lowest similarity accepted, 0-100")
      ->default_val(kDefaultThreshold)
      ->check(CLI::Range(0, 100));
  AddScoringOption(*app, options->scoring);
  return Subcommand{app, [options] { return RunSimilar(*options); }};
}

}  // namespace marrowfield
