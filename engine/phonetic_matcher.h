// PhoneticMatcher, the engine object. Every exported operation makes one,
// runs one method and destroys it; nothing but the phone tables, the
// lexicon and the list-search threshold outlives a call.

#ifndef MARROWFIELD_ENGINE_PHONETIC_MATCHER_H_
#define MARROWFIELD_ENGINE_PHONETIC_MATCHER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "flite_lexicon.h"

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
  PhoneList first;
  PhoneList second;
};

struct Candidate {
  std::string word;
  double distance;
};

// The list-search acceptance distance: 1 - t/100 for the last valid
// set_threshold(t), 0.5 until then.
double DistanceThreshold();
void SetDistanceThreshold(double threshold);

class PhoneticMatcher {
 public:
  // REQUIRES: lexicon is CurrentLexicon(), which may be null (before
  // initialize()), in which case every word transcribes to no phones.
  explicit PhoneticMatcher(const cst_lexicon* lexicon) : lexicon(lexicon) {}

  // Transcription.
  void CleanWord(std::string& word) const;
  void LowerCaseWord(std::string& word) const;
  void MapWordCharacters(std::string& word) const;
  PhoneList GetPhonesByRules(const std::string& word) const;
  PhoneList GetPhonesFromLexicon(const std::string& word) const;
  PhoneList GetPhones(const char* word, int mode) const;
  int GetPhonesForPair(std::string& word1, std::string& word2,
                       PhoneList& phones1, PhoneList& phones2) const;

  // Nearest phone: the offset -1, 0 or +1 from j of the phone of otherList
  // nearest to phone, or NO_NEAREST_PHONE. REQUIRES: j indexes otherList.
  int FindNearestPhone(const std::string& phone, const PhoneList& otherList,
                       size_t j, int32_t& currentDistance) const;

  // Whether phones[position] may be passed over. REQUIRES: position indexes
  // phones.
  bool CanBeSkipped(const PhoneList& phones, size_t position) const;

  // Alignment of the shorter list string1 against string2. Returns 0, or -1
  // when they cannot be aligned.
  int AlignPhones(const PhoneList& string1, const PhoneList& string2,
                  std::vector<int32_t>& simValues,
                  std::vector<int32_t>& currentMismatchedPositions) const;
  int AlignRemainingPhones(
      const PhoneList& string1, const PhoneList& string2, size_t i, size_t j,
      std::vector<int32_t>& currentMismatchedPositions,
      std::vector<int32_t>& simValues) const;

  // Word distance.
  double GetDistanceForWords(const PhoneListPair& pair) const;
  double GetDistanceForPhoneLists(const PhoneList& list1,
                                  const PhoneList& list2) const;
  double MeasureWordPair(std::string& word1, std::string& word2,
                         PhoneListPair& pair) const;
  double CompareWords(std::string word1, std::string word2) const;

  // List search.
  std::vector<std::string> GetSimilarWords(const char* searchWord,
                                           const char* const* candidates,
                                           unsigned int count) const;
  std::vector<Candidate> RankCandidates(
      std::string searchWord, std::vector<std::string> candidateList) const;

  // Phonetic codes.
  std::string GetCodes(PhoneList phones) const;

  // Phrase search.
  int MatchPhrase(std::string phrase, std::string text, int mode,
                  int* matchStart, int* matchLength) const;
  int MatchWordInText(const std::string& phraseWord, const std::string& text,
                      int mode, int& start, int& length) const;

 private:
  const cst_lexicon* lexicon;
};

// The similarity percentage of a word distance: -1.0 and distances above
// 1.0 count as 1.0; the result is truncated toward zero.
int DistanceToPercentage(double distance);

// The alignment score of the recorded values; see scoring.cpp.
double ScoreAlignment(const std::vector<int32_t>& simValues,
                      const std::vector<int32_t>& currentMismatchedPositions,
                      size_t LengthOfWord);

void SortCandidates(std::vector<Candidate>& candidates);
bool CandidateBefore(const Candidate& a, const Candidate& b);

std::vector<std::string> SplitWords(const std::string& s);
void TrimSpaces(std::string& s);

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_PHONETIC_MATCHER_H_
