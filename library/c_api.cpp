// The exported product interface (marrowfield_api.h): the engine, options,
// words, scores and explanations. Each export checks its arguments,
// converts them, calls the layer below and converts the answer; no
// algorithm lives here. The list functions are in c_api_lists.cpp.

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "api_guard.h"
#include "explanation_text.h"
#include "flite_lexicon.h"
#include "marrowfield_version.h"
#include "mode_comparison.h"
#include "phone_tables.h"
#include "score_many.h"
#include "similar_values.h"
#include "transcription_cache.h"

using marrowfield::PhoneticMatcher;
namespace api = marrowfield::api;
namespace lists = marrowfield::lists;
using api::Guarded;
using api::Require;

namespace {

PhoneticMatcher Matcher() {
  return PhoneticMatcher(marrowfield::CurrentLexicon());
}

}  // namespace

extern "C" {

void mf_free(void* pointer) { std::free(pointer); }

const char* mf_version(void) { return MARROWFIELD_VERSION; }

int mf_engine_start(char** errptr) {
  return Guarded(errptr, [] {
    if (!api::EngineTablesConsistent()) {
      throw std::runtime_error(
          "the engine's phone tables failed their consistency check; it "
          "stays usable");
    }
  });
}

size_t mf_cache_set_bytes(size_t bytes) {
  size_t granted = 0;
  Guarded(nullptr, [&] {
    // Callers such as a database server restore their settings often; the
    // bound in force asked for again keeps what the cache holds.
    granted = std::min(bytes, marrowfield::kTranscriptionCacheBytes) /
              marrowfield::kCacheSetBytes * marrowfield::kCacheSetBytes;
    if (granted != marrowfield::TranscriptionCacheBytes()) {
      granted = marrowfield::SetTranscriptionCacheBytes(bytes);
    }
  });
  return granted;
}

void mf_cache_clear(void) {
  Guarded(nullptr, [] { marrowfield::ReleaseTranscriptionCache(); });
}

mf_options_t* mf_options_create(void) {
  return new (std::nothrow) mf_options_t;
}

void mf_options_destroy(mf_options_t* options) { delete options; }

void mf_options_set_accuracy(mf_options_t* options, int accuracy) {
  if (options != nullptr) options->accuracy = accuracy;
}

void mf_options_set_threads(mf_options_t* options, int threads) {
  if (options != nullptr) options->threads = threads;
}

void mf_options_set_whole_cell(mf_options_t* options,
                               unsigned char whole_cell) {
  if (options != nullptr) options->wholeCell = whole_cell != 0;
}

void mf_options_set_scoring(mf_options_t* options, int scoring) {
  if (options != nullptr) options->scoring = scoring;
}

void mf_options_set_fold(mf_options_t* options, int fold) {
  if (options != nullptr) options->fold = fold;
}

void mf_options_set_best_only(mf_options_t* options,
                              unsigned char best_only) {
  if (options != nullptr) options->bestOnly = best_only != 0;
}

void mf_options_set_progress(mf_options_t* options, mf_progress_fn fn,
                             void* state) {
  if (options == nullptr) return;
  options->progress = fn;
  options->progressState = state;
}

void mf_options_set_cancel(mf_options_t* options, mf_cancel_fn fn,
                           void* state) {
  if (options == nullptr) return;
  options->cancel = fn;
  options->cancelState = state;
}

void mf_strings_destroy(mf_strings_t* strings) { delete strings; }

size_t mf_strings_count(const mf_strings_t* strings) {
  return strings != nullptr ? strings->items.size() : 0;
}

const char* mf_strings_item(const mf_strings_t* strings, size_t index) {
  if (strings == nullptr || index >= strings->items.size()) return nullptr;
  return strings->items[index].c_str();
}

int mf_phones(const char* word, int transcription, mf_strings_t** result,
              char** errptr) {
  return Guarded(errptr, [&] {
    Require(word != nullptr, "word is NULL");
    Require(result != nullptr, "result is NULL");
    api::EnsureEngine();
    auto phones = std::make_unique<mf_strings_t>();
    phones->items = marrowfield::PhoneNames(Matcher().GetPhones(
        word, transcription == MF_PHONES_RULES ? marrowfield::kModeLtsOnly
                                               : marrowfield::kModeLexicon));
    *result = phones.release();
  });
}

int mf_code(const char* word, char** code, char** errptr) {
  return Guarded(errptr, [&] {
    Require(word != nullptr, "word is NULL");
    Require(code != nullptr, "code is NULL");
    api::EnsureEngine();
    const PhoneticMatcher matcher = Matcher();
    *code = api::CopyOut(
        matcher.GetCodes(matcher.TranscribeFromLexicon(word).ids));
  });
}

int mf_fold(const char* text, int fold, char** folded, char** errptr) {
  return Guarded(errptr, [&] {
    Require(text != nullptr, "text is NULL");
    Require(folded != nullptr, "folded is NULL");
    const marrowfield::TextFolding folding = api::FoldingOf(fold);
    *folded = api::CopyOut(folding == marrowfield::TextFolding::kNone
                               ? std::string(text)
                               : marrowfield::FoldToAscii(text, folding));
  });
}

int mf_match(const char* phrase, const char* text, int transcription,
             int* score, int* start, int* length, char** errptr) {
  return Guarded(errptr, [&] {
    Require(phrase != nullptr && text != nullptr, "a text is NULL");
    Require(score != nullptr && start != nullptr && length != nullptr,
            "an output is NULL");
    api::EnsureEngine();
    *score = Matcher().MatchPhrase(
        phrase, text,
        transcription == MF_PHONES_RULES ? marrowfield::kModeLtsOnly
                                         : marrowfield::kModeLexicon,
        start, length);
  });
}

int mf_compare(const mf_options_t* options, const char* first,
               const char* second, int* score, char** errptr) {
  return Guarded(errptr, [&] {
    const lists::PairOptions pairOptions = api::PairOptionsOf(options);
    Require(first != nullptr && second != nullptr, "a value is NULL");
    Require(score != nullptr, "score is NULL");
    api::EnsureEngine();
    const std::string a = api::Folded(options, first);
    const std::string b = api::Folded(options, second);
    // A whole cell is one word: the engine's own word comparison, which
    // ScoreValues equals there, without preparing values to score once.
    *score = pairOptions.wholeCell
                 ? marrowfield::ComparePercentage(a, b, pairOptions.scoring)
                 : lists::ScoreValues(a, b, pairOptions);
  });
}

int mf_compare_many(const mf_options_t* options, const char* const* first,
                    const char* const* second, size_t count, int* scores,
                    char** errptr) {
  return Guarded(errptr, [&] {
    const lists::PairOptions pairOptions = api::PairOptionsOf(options);
    Require(count == 0 ||
                (first != nullptr && second != nullptr && scores != nullptr),
            "an array is NULL");
    for (size_t i = 0; i < count; ++i) {
      if (first[i] == nullptr || second[i] == nullptr) {
        throw api::ArgumentError("the values of pair " + std::to_string(i) +
                                 " include NULL");
      }
    }
    api::EnsureEngine();
    if (options->fold == MF_FOLD_NONE) {
      lists::ScoreMany(first, second, count, pairOptions, scores);
      return;
    }
    const std::vector<std::string> a = api::CopyValues(options, first, count,
                                                       "first");
    const std::vector<std::string> b = api::CopyValues(options, second, count,
                                                       "second");
    std::vector<const char*> aText(count), bText(count);
    for (size_t i = 0; i < count; ++i) {
      aText[i] = a[i].c_str();
      bText[i] = b[i].c_str();
    }
    lists::ScoreMany(aText.data(), bText.data(), count, pairOptions, scores);
  });
}

int mf_similar(const mf_options_t* options, const char* word,
               const char* const* list, size_t count, mf_strings_t** result,
               char** errptr) {
  return Guarded(errptr, [&] {
    const lists::PairOptions pairOptions = api::PairOptionsOf(options);
    Require(word != nullptr, "word is NULL");
    Require(list != nullptr || count == 0, "list is NULL");
    Require(result != nullptr, "result is NULL");
    api::EnsureEngine();
    // Entries are scored folded but handed back as given, NULLs skipped.
    std::vector<std::string> scored;
    std::vector<const char*> given;
    for (size_t i = 0; i < count; ++i) {
      if (list[i] == nullptr) continue;
      scored.push_back(api::Folded(options, list[i]));
      given.push_back(list[i]);
    }
    auto similar = std::make_unique<mf_strings_t>();
    for (size_t index : lists::SimilarValues(api::Folded(options, word),
                                             scored, given, pairOptions)) {
      similar->items.emplace_back(given[index]);
    }
    *result = similar.release();
  });
}

int mf_explain(const mf_options_t* options, const char* first,
               const char* second, mf_explanation_t** result, char** errptr) {
  return Guarded(errptr, [&] {
    const lists::PairOptions pairOptions = api::PairOptionsOf(options);
    Require(first != nullptr && second != nullptr, "a word is NULL");
    Require(result != nullptr, "result is NULL");
    api::EnsureEngine();
    auto explained = std::make_unique<mf_explanation_t>();
    explained->explanation = marrowfield::ExplainComparison(
        api::Folded(options, first), api::Folded(options, second),
        pairOptions.scoring);
    explained->phones1 = lists::JoinPhones(explained->explanation.phones1);
    explained->phones2 = lists::JoinPhones(explained->explanation.phones2);
    explained->text = lists::ExplanationText(explained->explanation);
    *result = explained.release();
  });
}

void mf_explanation_destroy(mf_explanation_t* explanation) {
  delete explanation;
}

int mf_explanation_percentage(const mf_explanation_t* explanation) {
  return explanation != nullptr ? explanation->explanation.percentage : 0;
}

double mf_explanation_distance(const mf_explanation_t* explanation) {
  return explanation != nullptr ? explanation->explanation.distance : -1.0;
}

const char* mf_explanation_phones(const mf_explanation_t* explanation,
                                  int word) {
  if (explanation == nullptr) return "";
  if (word == 1) return explanation->phones1.c_str();
  if (word == 2) return explanation->phones2.c_str();
  return "";
}

const char* mf_explanation_text(const mf_explanation_t* explanation) {
  return explanation != nullptr ? explanation->text.c_str() : "";
}

}  // extern "C"
