// The seam to Flite: sets up its CMU US-English lexicon, asks it for a
// word's pronunciation, and turns the answer into a phone list. Flite
// values are owned by FliteValue so that every answer is released once.

#ifndef MARROWFIELD_ENGINE_FLITE_LEXICON_H_
#define MARROWFIELD_ENGINE_FLITE_LEXICON_H_

#include <memory>
#include <string>
#include <vector>

extern "C" {
#include <flite/cst_lexicon.h>
#include <flite/cst_val.h>
}

namespace marrowfield {

using PhoneList = std::vector<std::string>;

struct FliteValueDeleter {
  void operator()(cst_val* value) const { delete_val(value); }
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

// Converts Flite's answer into phones in spoken order, dropping the stress
// digit ("1" for stressed, "0" for unstressed vowels) so that every phone is
// one the phone tables know. A non-string element is skipped with a line on
// standard output. A null answer gives an empty list.
PhoneList ConvertFliteAnswer(FliteValue answer);

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_FLITE_LEXICON_H_
