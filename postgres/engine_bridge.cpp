// The bridge between the SQL functions and the C++ internals of the
// engine and of pair finding: each function runs one operation inside a
// catch-all, so that no exception reaches PostgreSQL's C frames, and
// leaves list answers in a per-process list that the caller copies into
// its own memory.

#include "engine_bridge.h"

#include <algorithm>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "blocking_keys.h"
#include "flite_lexicon.h"
#include "phone_tables.h"
#include "phonetic_matcher.h"
#include "transcription_cache.h"

namespace {

using marrowfield::PhoneticMatcher;

std::vector<std::string> g_list;
std::string g_error;
bool g_started = false;

// Runs |body| and turns anything it throws into MF_FAILED with a message.
template <typename Body>
MfStatus Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    g_error = "out of memory in the phonetic engine";
  } catch (const std::exception& e) {
    try {
      g_error = std::string("phonetic engine failed: ") + e.what();
    } catch (...) {
      g_error.clear();
    }
  } catch (...) {
    g_error = "phonetic engine failed";
  }
  return MF_FAILED;
}

PhoneticMatcher Matcher() {
  return PhoneticMatcher(marrowfield::CurrentLexicon());
}

std::string Text(const char* text, size_t length) {
  return std::string(text, length);
}

// The skeleton key of |text|, transcribed as compare_words and
// BlockingKeys transcribe it: the whole text as one word, cleaned, through
// the lexicon. Empty when it has no phones.
std::vector<std::string> SkeletonKey(const char* text, size_t length) {
  std::string word = Text(text, length);
  const PhoneticMatcher matcher = Matcher();
  matcher.CleanWord(word);
  return marrowfield::lists::PhoneKeys(
      matcher.TranscribeFromLexicon(word).ids,
      marrowfield::lists::KeySet::kExactSkeleton);
}

}  // namespace

extern "C" {

MfStatus mf_start(void) {
  return Guarded([] {
    if (g_started) return MF_OK;
    marrowfield::SetUpLexicon();
    if (marrowfield::BuildPhoneTables() != 0) {
      g_error = "the phonetic engine's phone tables failed their check";
      return MF_FAILED;
    }
    g_started = true;
    return MF_OK;
  });
}

size_t mf_set_cache_bytes(size_t bytes) {
  size_t granted = 0;
  Guarded([&] {
    // The server restores settings often (after SET LOCAL, in every
    // parallel worker); the same bound again keeps what the cache holds.
    granted = std::min(bytes, marrowfield::kTranscriptionCacheBytes) /
              marrowfield::kCacheSetBytes * marrowfield::kCacheSetBytes;
    if (granted != marrowfield::TranscriptionCacheBytes()) {
      granted = marrowfield::SetTranscriptionCacheBytes(bytes);
    }
    return MF_OK;
  });
  return granted;
}

bool mf_has_letter(const char* text, size_t length) {
  for (size_t k = 0; k < length; ++k) {
    const char c = text[k];
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
  }
  return false;
}

MfStatus mf_score(const char* a, size_t a_length, const char* b,
                  size_t b_length, int* percent) {
  return Guarded([&] {
    if (!mf_has_letter(a, a_length) || !mf_has_letter(b, b_length)) {
      return MF_NO_LETTERS;
    }
    *percent = marrowfield::DistanceToPercentage(
        Matcher().CompareWords(Text(a, a_length), Text(b, b_length)));
    return MF_OK;
  });
}

MfStatus mf_phones(const char* text, size_t length, bool rules) {
  return Guarded([&] {
    g_list.clear();
    const std::string word = Text(text, length);
    g_list = marrowfield::PhoneNames(
        Matcher().GetPhones(word.c_str(), rules ? marrowfield::kModeLtsOnly
                                                : marrowfield::kModeLexicon));
    return MF_OK;
  });
}

MfStatus mf_code(const char* text, size_t length) {
  return Guarded([&] {
    g_list.clear();
    const PhoneticMatcher matcher = Matcher();
    g_list.push_back(matcher.GetCodes(
        matcher.TranscribeFromLexicon(Text(text, length)).ids));
    return MF_OK;
  });
}

MfStatus mf_match(const char* phrase, size_t phrase_length, const char* body,
                  size_t body_length, int* score, int* start, int* length) {
  return Guarded([&] {
    const int result = Matcher().MatchPhrase(
        Text(phrase, phrase_length), Text(body, body_length),
        marrowfield::kModeLexicon, start, length);
    if (result < 0) return MF_NO_LETTERS;
    *score = result;
    return MF_OK;
  });
}

MfStatus mf_keys(const char* text, size_t length) {
  return Guarded([&] {
    g_list.clear();
    // The neighbours of a skeleton of n symbols are n keys of n bytes each:
    // a megabyte of text would ask for hundreds of gigabytes. Past
    // kMaxNeighbourSkeleton symbols a text is keyed by its skeleton alone,
    // which is all the strict score needs. A letter gives at most two
    // phones, so short texts skip the check.
    constexpr size_t kMaxNeighbourSkeleton = 1024;
    if (length > kMaxNeighbourSkeleton / 4) {
      std::vector<std::string> skeleton = SkeletonKey(text, length);
      if (skeleton.empty() || skeleton[0].size() > kMaxNeighbourSkeleton) {
        g_list = std::move(skeleton);
        return MF_OK;
      }
    }
    g_list = marrowfield::lists::BlockingKeys(std::string_view(text, length));
    return MF_OK;
  });
}

MfStatus mf_index_key(const char* text, size_t length) {
  return Guarded([&] {
    g_list.clear();
    g_list = SkeletonKey(text, length);
    return MF_OK;
  });
}

int mf_keys_min_accuracy(void) {
  return marrowfield::lists::kBlockingKeysMinAccuracy;
}

size_t mf_list_size(void) { return g_list.size(); }

const char* mf_list_item(size_t index, size_t* length) {
  *length = g_list[index].size();
  return g_list[index].data();
}

const char* mf_error(void) { return g_error.c_str(); }

}  // extern "C"
