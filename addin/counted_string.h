// CountedString: a text kept with a placeholder byte in front, the form in
// which the host's callback library takes strings (a length byte, then the
// characters). It owns the characters, so a host value made from it stays
// valid for as long as the CountedString lives.

#ifndef MARROWFIELD_ADDIN_COUNTED_STRING_H_
#define MARROWFIELD_ADDIN_COUNTED_STRING_H_

#include <string>
#include <string_view>

#include "xloper.h"

namespace marrowfield {

class CountedString {
 public:
  explicit CountedString(std::string_view text);

  // The writable placeholder string that MakeTempString takes.
  char* placeholderString() { return storage_.data(); }

  // A string value for the host pointing into this object; writes the
  // length byte (at most 255) first.
  XLOPER AsValue();

 private:
  std::string storage_;
};

// The text of a counted string value; empty for any other value.
std::string CountedText(const XLOPER& value);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_COUNTED_STRING_H_
