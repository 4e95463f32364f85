// Flite's lexicon set-up and the conversion of its answers.

#include "flite_lexicon.h"

#include <cstdio>

extern "C" {
// Flite installs no header for its lexicon's entry point.
cst_lexicon* cmu_lex_init(void);
}

namespace marrowfield {
namespace {

const cst_lexicon* g_lexicon = nullptr;

}  // namespace

const cst_lexicon* SetUpLexicon() {
  if (g_lexicon == nullptr) g_lexicon = cmu_lex_init();
  return g_lexicon;
}

const cst_lexicon* CurrentLexicon() { return g_lexicon; }

void ReportNonStringElement(int type) {
  std::printf("CST_VAL_TYPE : %d\n", type);
  std::fflush(stdout);
}

PhoneList ConvertFliteAnswer(FliteValue answer) {
  PhoneList phones;
  WalkFliteAnswer(answer.get(), [&phones](const char* phone, size_t length) {
    phones.emplace_back(phone, length);
  });
  return phones;
}

}  // namespace marrowfield
