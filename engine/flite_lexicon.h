// The seam to Flite: sets up its CMU US-English lexicon, asks it for a
// word's pronunciation, and turns the answer into a phone list. Flite
// values are owned by FliteValue so that every answer is released once.

#ifndef MARROWFIELD_ENGINE_FLITE_LEXICON_H_
#define MARROWFIELD_ENGINE_FLITE_LEXICON_H_

#include <cstring>
#include <memory>
#include <string>
#include <vector>

extern "C" {
#include <flite/cst_lexicon.h>
#include <flite/cst_val.h>
}

namespace marrowfield {

using PhoneList = std::vector<std::string>;

// Frees a Flite value as delete_val does, but walks a list's cells in a
// loop rather than recursing once per cell.
void DeleteFliteValue(cst_val* value);

struct FliteValueDeleter {
  void operator()(cst_val* value) const { DeleteFliteValue(value); }
};
using FliteValue = std::unique_ptr<cst_val, FliteValueDeleter>;

// Words longer than this are given no phones: Flite sizes its buffers with
// int arithmetic, and a word near 2 GiB would make it end the process.
constexpr size_t kMaxFliteWordLength = 1u << 20;

// Sets up the lexicon and its letter-to-sound rules (once per process; a
// later call returns the same lexicon).
const cst_lexicon* SetUpLexicon();

// The lexicon, or null until SetUpLexicon() has run.
const cst_lexicon* CurrentLexicon();

// Calls |visit|(name, length) for every phone of Flite's answer in spoken
// order, the stress digit ("1" for stressed, "0" for unstressed vowels)
// already dropped so that every phone is one the phone tables know. A
// non-string element is skipped with a line on standard output.
template <typename Visit>
void WalkFliteAnswer(const cst_val* answer, Visit&& visit);

// The phone names of Flite's answer (see WalkFliteAnswer); a null answer
// gives an empty list.
PhoneList ConvertFliteAnswer(FliteValue answer);

// Writes the diagnostic line for an answer element that is not a string.
void ReportNonStringElement(int type);

// Whether |value| is a list cell: Flite's own test, cst_val_consp, inlined
// through its header's accessors. An atom's type is odd; a cell's first
// word is its car pointer (or null), which is even.
inline bool IsFliteListCell(const cst_val* value) {
  return CST_VAL_TYPE(value) % 2 == 0;
}

template <typename Visit>
void WalkFliteAnswer(const cst_val* answer, Visit&& visit) {
  // Stops at anything that is not a list cell: val_car on another value
  // would make Flite end the process. Flite's checked accessors are calls
  // into the library; the header's accessors with the same checks spare
  // them on the path every uncached word takes.
  for (const cst_val* cell = answer; cell != nullptr && IsFliteListCell(cell);
       cell = CST_VAL_CDR(cell)) {
    const cst_val* element = CST_VAL_CAR(cell);
    if (element == nullptr || CST_VAL_TYPE(element) != CST_VAL_TYPE_STRING) {
      ReportNonStringElement(element == nullptr ? CST_VAL_TYPE_CONS
                                                : CST_VAL_TYPE(element));
      continue;
    }
    const char* phone = CST_VAL_STRING(element);
    size_t length = std::strlen(phone);
    if (length > 0 && (phone[length - 1] == '1' || phone[length - 1] == '0')) {
      --length;
    }
    visit(phone, length);
  }
}

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_FLITE_LEXICON_H_
