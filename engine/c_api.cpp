// The exported C interface. Each export checks its arguments, builds a
// fresh PhoneticMatcher, runs one operation and converts the result; no
// algorithm lives here. Nothing leaves as an exception: Guarded() turns any
// failure into the export's documented failure value.

#include <cstring>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <utility>
#include <vector>

#include "marrowfield.h"
#include "phone_tables.h"
#include "phonetic_matcher.h"
#include "transcription_cache.h"

// The handle behind the opaque ResultIterator of the public header.
struct ResultIterator {
  std::vector<std::string> items;
};

namespace {

using marrowfield::PhoneticMatcher;

template <typename Result, typename Body>
Result Guarded(Result failure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

// Operations share the engine; initialize() and un_initialize() take it
// whole, so that tables are never rebuilt or freed under a running call.
std::shared_mutex g_lifecycle;

using SharedUse = std::shared_lock<std::shared_mutex>;
using WholeUse = std::unique_lock<std::shared_mutex>;

// Comparing, searching and coding need the phone tables.
bool EngineReady() { return marrowfield::PhoneTablesReady(); }

PhoneticMatcher MakeMatcher() {
  return PhoneticMatcher(marrowfield::CurrentLexicon());
}

ResultIterator* NewResult(std::vector<std::string> items) {
  ResultIterator* handle = new ResultIterator;
  handle->items = std::move(items);
  return handle;
}

}  // namespace

extern "C" {

int initialize(void) {
  return Guarded(-1, [] {
    WholeUse whole(g_lifecycle);
    marrowfield::SetUpLexicon();
    return marrowfield::BuildPhoneTables();
  });
}

void un_initialize(void) {
  Guarded(0, [] {
    WholeUse whole(g_lifecycle);
    marrowfield::FreePhoneTables();
    marrowfield::ReleaseTranscriptionCache();
    return 0;
  });
}

void set_threshold(unsigned int percent) {
  // Compared as unsigned: a negative int from a caller is above 100 too.
  if (percent > 100) return;
  marrowfield::SetDistanceThreshold(1.0 - percent / 100.0);
}

ResultIterator* get_phonemes(const char* word, int mode) {
  return Guarded<ResultIterator*>(nullptr, [&] {
    if (word == nullptr) return NewResult({});
    SharedUse shared(g_lifecycle);
    return NewResult(
        marrowfield::PhoneNames(MakeMatcher().GetPhones(word, mode)));
  });
}

int compare_words(const char* word1, const char* word2) {
  return Guarded(0, [&] {
    if (word1 == nullptr || word2 == nullptr) return 0;
    SharedUse shared(g_lifecycle);
    if (!EngineReady()) return 0;
    return marrowfield::DistanceToPercentage(
        MakeMatcher().CompareWords(word1, word2));
  });
}

int get_codes_for_word(const char* word, char* buffer,
                       unsigned int bufferSize) {
  return Guarded(0, [&] {
    if (word == nullptr) return 0;
    SharedUse shared(g_lifecycle);
    if (!EngineReady()) return 0;
    PhoneticMatcher matcher = MakeMatcher();
    const std::string code =
        matcher.GetCodes(matcher.TranscribeFromLexicon(word).ids);
    if (buffer != nullptr && bufferSize > code.size()) {
      std::memcpy(buffer, code.c_str(), code.size() + 1);
    }
    return static_cast<int>(code.size());
  });
}

ResultIterator* get_similar_words_from_list(const char* word, const char** list,
                                            unsigned int count) {
  return Guarded<ResultIterator*>(nullptr, [&] {
    if (word == nullptr || list == nullptr) return NewResult({});
    SharedUse shared(g_lifecycle);
    if (!EngineReady()) return NewResult({});
    return NewResult(MakeMatcher().GetSimilarWords(word, list, count));
  });
}

int get_result_size(const ResultIterator* handle) {
  if (handle == nullptr) return 0;
  return static_cast<int>(handle->items.size());
}

const char* get_result_item(const ResultIterator* handle, int index) {
  if (handle == nullptr || index < 0 ||
      static_cast<size_t>(index) >= handle->items.size()) {
    return nullptr;
  }
  return handle->items[static_cast<size_t>(index)].c_str();
}

void close_result_iterator(ResultIterator* handle) { delete handle; }

int match_sub_string_phonetically(const char* phrase, const char* text,
                                  int* matchStart, int* matchLength, int mode) {
  return Guarded(-1, [&] {
    if (phrase == nullptr || text == nullptr || matchStart == nullptr ||
        matchLength == nullptr) {
      return -1;
    }
    SharedUse shared(g_lifecycle);
    if (!EngineReady()) return -1;
    return MakeMatcher().MatchPhrase(phrase, text, mode, matchStart,
                                     matchLength);
  });
}

}  // extern "C"
