// The words of a phrase match: the text as the engine's phrase search sees
// it, and which of its words each phrase word matched.
#ifndef MARROWFIELD_CLI_MATCH_WORDS_H_
#define MARROWFIELD_CLI_MATCH_WORDS_H_

#include <string>
#include <vector>

namespace marrowfield {

// Returns the words of |text| as the phrase search normalises it: ASCII
// letters folded to lower case, apostrophes dropped, every other byte a
// separator. Joined by single spaces they give the text that the positions
// of match_sub_string_phonetically count.
std::vector<std::string> NormalisedWords(const std::string& text);

// Returns, in phrase order, the text word that each phrase word matched
// best, each text word once (a phrase word whose best word was already
// taken adds nothing, as the engine's overlap rule drops it). Phrase words
// that match nowhere add nothing.
// REQUIRES: the engine is initialised.
std::vector<std::string> MatchedTextWords(const std::string& phrase,
                                          const std::string& text, int mode);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_MATCH_WORDS_H_
