// The engine's fixed C interface (marrowfield.h), the exports of
// MarrowfieldExcel, as a thin layer over the product interface: each export
// checks its arguments, applies the lifecycle and threshold rules that the
// fixed interface promises, and forwards to one mf_ function. No algorithm
// lives here, and nothing leaves as an exception.
//
// The product library sets its engine up once and keeps it; the rules of
// initialize() and un_initialize() are this layer's own state: outside
// them comparing, searching and coding give their failure values, and
// un_initialize() gives the transcription cache's memory back.

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <utility>
#include <vector>

#include "marrowfield.h"
#include "marrowfield_api.h"

// The handle behind the opaque ResultIterator of the public header.
struct ResultIterator {
  std::vector<std::string> items;
};

namespace {

// Operations share the engine; initialize() and un_initialize() take it
// whole, so that they wait for running calls and none starts meanwhile.
std::shared_mutex g_lifecycle;
using SharedUse = std::shared_lock<std::shared_mutex>;
using WholeUse = std::unique_lock<std::shared_mutex>;

// Between initialize() and un_initialize(). Guarded by g_lifecycle.
bool g_initialized = false;
// Once initialize() has run the lexicon is set up for good, so that
// get_phonemes transcribes even after un_initialize().
bool g_lexiconSetUp = false;

// set_threshold's level; read once per search.
std::atomic<unsigned> g_threshold{50};

template <typename Result, typename Body>
Result Guarded(Result failure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

struct OptionsDeleter {
  void operator()(mf_options_t* options) const { mf_options_destroy(options); }
};
using Options = std::unique_ptr<mf_options_t, OptionsDeleter>;

// compare_words' scoring: the whole cell as one word, strict, unfolded.
Options WholeCellOptions() {
  Options options(mf_options_create());
  if (!options) throw std::bad_alloc();
  mf_options_set_whole_cell(options.get(), 1);
  return options;
}

const mf_options_t* CompareOptions() {
  static const Options options = WholeCellOptions();
  return options.get();
}

struct StringsDeleter {
  void operator()(mf_strings_t* strings) const { mf_strings_destroy(strings); }
};
using Strings = std::unique_ptr<mf_strings_t, StringsDeleter>;

// A result list of |status| and |strings|: the strings when the call
// succeeded, NULL when memory ran out, an empty list for other failures.
ResultIterator* NewResult(int status, Strings strings) {
  if (status == MF_OUT_OF_MEMORY) return nullptr;
  auto handle = std::make_unique<ResultIterator>();
  if (status == MF_OK) {
    const size_t count = mf_strings_count(strings.get());
    handle->items.reserve(count);
    for (size_t i = 0; i < count; ++i)
      handle->items.emplace_back(mf_strings_item(strings.get(), i));
  }
  return handle.release();
}

ResultIterator* EmptyResult() { return new ResultIterator; }

}  // namespace

extern "C" {

int initialize(void) {
  return Guarded(-1, [] {
    WholeUse whole(g_lifecycle);
    const int status = mf_engine_start(nullptr);
    g_initialized = status != MF_OUT_OF_MEMORY;
    g_lexiconSetUp = g_lexiconSetUp || g_initialized;
    return status == MF_OK ? 0 : -1;
  });
}

void un_initialize(void) {
  Guarded(0, [] {
    WholeUse whole(g_lifecycle);
    g_initialized = false;
    mf_cache_clear();
    return 0;
  });
}

void set_threshold(unsigned int percent) {
  // Compared as unsigned: a negative int from a caller is above 100 too.
  if (percent > 100) return;
  g_threshold.store(percent);
}

ResultIterator* get_phonemes(const char* word, int mode) {
  return Guarded<ResultIterator*>(nullptr, [&] {
    if (word == nullptr) return EmptyResult();
    SharedUse shared(g_lifecycle);
    if (!g_lexiconSetUp) return EmptyResult();
    mf_strings_t* phones = nullptr;
    const int status = mf_phones(
        word, mode == MODE_LTS_ONLY ? MF_PHONES_RULES : MF_PHONES_LEXICON,
        &phones, nullptr);
    return NewResult(status, Strings(phones));
  });
}

int compare_words(const char* word1, const char* word2) {
  return Guarded(0, [&] {
    if (word1 == nullptr || word2 == nullptr) return 0;
    SharedUse shared(g_lifecycle);
    if (!g_initialized) return 0;
    int score = 0;
    if (mf_compare(CompareOptions(), word1, word2, &score, nullptr) != MF_OK)
      return 0;
    return score;
  });
}

int get_codes_for_word(const char* word, char* buffer,
                       unsigned int bufferSize) {
  return Guarded(0, [&] {
    if (word == nullptr) return 0;
    SharedUse shared(g_lifecycle);
    if (!g_initialized) return 0;
    char* code = nullptr;
    if (mf_code(word, &code, nullptr) != MF_OK) return 0;
    const size_t length = std::strlen(code);
    if (buffer != nullptr && bufferSize > length) {
      std::memcpy(buffer, code, length + 1);
    }
    mf_free(code);
    return static_cast<int>(length);
  });
}

ResultIterator* get_similar_words_from_list(const char* word, const char** list,
                                            unsigned int count) {
  return Guarded<ResultIterator*>(nullptr, [&] {
    if (word == nullptr || list == nullptr) return EmptyResult();
    SharedUse shared(g_lifecycle);
    if (!g_initialized) return EmptyResult();
    Options options = WholeCellOptions();
    mf_options_set_accuracy(options.get(),
                            static_cast<int>(g_threshold.load()));
    mf_strings_t* similar = nullptr;
    const int status =
        mf_similar(options.get(), word, list, count, &similar, nullptr);
    return NewResult(status, Strings(similar));
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
    if (!g_initialized) return -1;
    int score = -1;
    if (mf_match(phrase, text,
                 mode == MODE_LTS_ONLY ? MF_PHONES_RULES : MF_PHONES_LEXICON,
                 &score, matchStart, matchLength, nullptr) != MF_OK) {
      return -1;
    }
    return score;
  });
}

}  // extern "C"
