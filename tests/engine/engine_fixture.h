// Shared set-up for the engine's unit tests: builds the phone tables and
// the lexicon once per test, and parses phone lists written as text.

#ifndef MARROWFIELD_TESTS_ENGINE_ENGINE_FIXTURE_H_
#define MARROWFIELD_TESTS_ENGINE_ENGINE_FIXTURE_H_

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "flite_lexicon.h"
#include "phone_tables.h"
#include "phonetic_matcher.h"

namespace marrowfield {

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUpLexicon();
    ASSERT_EQ(BuildPhoneTables(), 0);
  }
  void TearDown() override { FreePhoneTables(); }

  PhoneticMatcher matcher{SetUpLexicon()};
};

// "k aa r d" -> {"k", "aa", "r", "d"}.
inline PhoneList Names(const std::string& text) {
  std::istringstream in(text);
  PhoneList phones;
  for (std::string phone; in >> phone;) phones.push_back(phone);
  return phones;
}

// The same as phone ids; a name outside the inventory is kUnknownPhone.
inline PhoneIds Phones(const std::string& text) {
  return PhoneIdsOf(Names(text));
}

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_ENGINE_ENGINE_FIXTURE_H_
