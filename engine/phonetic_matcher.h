// PhoneticMatcher, the engine object. Every exported operation makes one,
// runs one method and destroys it; nothing but the phone tables, the
// lexicon and the transcription cache outlives a call. A matcher holds no
// mutable state, so matchers on several threads may run at once.

#ifndef MARROWFIELD_ENGINE_PHONETIC_MATCHER_H_
#define MARROWFIELD_ENGINE_PHONETIC_MATCHER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "flite_lexicon.h"
#include "phone_tables.h"
#include "transcription_cache.h"

namespace marrowfield {

// Transcription modes. Every value other than MODE_LTS_ONLY means
// MODE_LEXICON.
constexpr int kModeLexicon = 0;
constexpr int kModeLtsOnly = 1;

// FindNearestPhone's answer when no phone of the window is near enough.
constexpr int NO_NEAREST_PHONE = -99;

// Recorded for a phone passed over in the main alignment pass.
constexpr double SKIP_DISTANCE = 5.0;

// The word distance of words that cannot be compared.
constexpr double kFailureDistance = -1.0;

struct PhoneListPair {
  PhoneIds first;
  PhoneIds second;
};

struct Candidate {
  std::string word;
  double distance;
  size_t index;  // in the candidate list searched
};

// The list search's acceptance distance for an acceptance level of
// |percent| (0-100): 1 - percent / 100, so 0.5 for the default level 50.
double DistanceThresholdOfPercent(unsigned percent);

class PhoneticMatcher {
 public:
  // |lexicon| may be null (before initialize()): every word then
  // transcribes to no phones.
  explicit PhoneticMatcher(const cst_lexicon* lexicon) : lexicon(lexicon) {}

  // Cleaning: ASCII case folding; apostrophes dropped; every other byte
  // outside a-z becomes a space; CleanWord then drops the spaces at the two
  // ends (MapWordCharacters alone keeps them).
  void CleanWord(std::string& word) const;
  void LowerCaseWord(std::string& word) const;
  void MapWordCharacters(std::string& word) const;

  // Flite itself, uncached: the rules alone, or the lexicon with the rules
  // for words it lacks. The word is used exactly as given.
  PhoneList GetPhonesByRules(const std::string& word) const;
  PhoneList GetPhonesFromLexicon(const std::string& word) const;

  // The same through the transcription cache.
  Transcription TranscribeByRules(const std::string& word) const;
  Transcription TranscribeFromLexicon(const std::string& word) const;
  // REQUIRES: |key| is the lexicon key of |word|.
  Transcription TranscribeFromLexicon(const std::string& word,
                                      const TranscriptionKey& key) const;

  // Cleans |word|, then transcribes it by rules (mode 1) or the lexicon.
  Transcription GetPhones(const char* word, int mode) const;

  // Cleans both words in place and fills the ids of their lexicon
  // transcriptions. Returns -1 at the first word without phones (the
  // second word is then untouched), else 0.
  int GetPhonesForPair(std::string& word1, std::string& word2,
                       PhoneIds& phones1, PhoneIds& phones2) const;

  // The offset -1, 0 or +1 from j of the phone of otherList nearest to
  // phone, or NO_NEAREST_PHONE. REQUIRES: j indexes otherList.
  int FindNearestPhone(PhoneId phone, const PhoneIds& otherList, size_t j,
                       int32_t& currentDistance) const;

  // Whether phones[position] may be passed over.
  // REQUIRES: position indexes phones.
  bool CanBeSkipped(const PhoneIds& phones, size_t position) const;

  // Aligns the shorter list string1 against string2, appending to the two
  // outputs. Returns 0, or -1 when they cannot be aligned.
  int AlignPhones(const PhoneIds& string1, const PhoneIds& string2,
                  std::vector<int32_t>& simValues,
                  std::vector<int32_t>& currentMismatchedPositions) const;
  int AlignRemainingPhones(const PhoneIds& string1, const PhoneIds& string2,
                           size_t i, size_t j,
                           std::vector<int32_t>& currentMismatchedPositions,
                           std::vector<int32_t>& simValues) const;

  // Word distances: 0.0 for no difference, larger for less alike, -1.0
  // for words that cannot be compared.
  double GetDistanceForWords(const PhoneListPair& pair) const;
  double GetDistanceForPhoneLists(const PhoneIds& list1,
                                  const PhoneIds& list2) const;
  double MeasureWordPair(std::string& word1, std::string& word2,
                         PhoneListPair& pair) const;
  double CompareWords(std::string word1, std::string word2) const;

  // List search: the candidates within |threshold| (a word distance, see
  // DistanceThresholdOfPercent), best first. Null candidates are skipped.
  std::vector<std::string> GetSimilarWords(const char* searchWord,
                                           const char* const* candidates,
                                           unsigned int count,
                                           double threshold) const;
  std::vector<Candidate> RankCandidates(std::string searchWord,
                                        std::vector<std::string> candidateList,
                                        double threshold) const;

  // The consonant code of a phone list.
  std::string GetCodes(const PhoneIds& phones) const;

  // Phrase search; see phrase_match.cpp.
  int MatchPhrase(std::string phrase, std::string text, int mode,
                  int* matchStart, int* matchLength) const;
  int MatchWordInText(const PhoneIds& phrasePhones,
                      const std::vector<std::string>& textWords,
                      const std::vector<const Transcription*>& textPhones,
                      int& start, int& length) const;

 private:
  const cst_lexicon* lexicon;
};

// Flite's answer as a transcription (see WalkFliteAnswer); a null answer
// gives no phones.
Transcription TranscriptionOf(const cst_val* answer);

// The similarity percentage of a word distance: -1.0 and distances above
// 1.0 count as 1.0; the result is truncated toward zero.
int DistanceToPercentage(double distance);

// The word distance of an alignment's recorded values.
double ScoreAlignment(const std::vector<int32_t>& simValues,
                      const std::vector<int32_t>& currentMismatchedPositions,
                      size_t LengthOfWord);

void SortCandidates(std::vector<Candidate>& candidates);
bool CandidateBefore(const Candidate& a, const Candidate& b);

std::vector<std::string> SplitWords(const std::string& s);
void TrimSpaces(std::string& s);

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_PHONETIC_MATCHER_H_
