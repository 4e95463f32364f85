// The explanation of one comparison written out for people: both phone
// lists, each step of the alignment with the values it recorded, and the
// arithmetic that turns those values into the percentage. The command
// line's "explain", the Python binding and the database extension all show
// this same text, through the layer's C interface.

#ifndef MARROWFIELD_LIBRARY_EXPLANATION_TEXT_H_
#define MARROWFIELD_LIBRARY_EXPLANATION_TEXT_H_

#include <string>

#include "explanation.h"

namespace marrowfield::lists {

// Returns |explanation| as lines ending with "\n". Every number shown is
// the explanation's own; the last line states its percentage.
std::string ExplanationText(const ComparisonExplanation& explanation);

// Returns |phones| separated by single spaces.
std::string JoinPhones(const std::vector<std::string>& phones);

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LIBRARY_EXPLANATION_TEXT_H_
