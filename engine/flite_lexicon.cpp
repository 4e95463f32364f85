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

void DeleteFliteValue(cst_val* value) {
  // delete_val frees a list by recursing on each cell's tail, a stack frame
  // per phone: the answer for a word of a million letters overflows the
  // stack. Cut from its tail, each cell is freed on its own.
  while (value != nullptr && IsFliteListCell(value)) {
    cst_val* rest = CST_VAL_CDR(value);
    CST_VAL_CDR(value) = nullptr;
    delete_val(value);
    value = rest;
  }
  if (value != nullptr) delete_val(value);
}

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
