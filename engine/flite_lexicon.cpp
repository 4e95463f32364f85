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

PhoneList ConvertFliteAnswer(FliteValue answer) {
  PhoneList phones;
  if (!answer || !cst_val_consp(answer.get())) return phones;
  // Stops at anything that is not a list cell: val_car on another value
  // would make Flite end the process.
  for (const cst_val* cell = answer.get(); cell != nullptr && cst_val_consp(cell);
       cell = val_cdr(cell)) {
    const cst_val* element = val_car(cell);
    if (CST_VAL_TYPE(element) != CST_VAL_TYPE_STRING) {
      std::printf("CST_VAL_TYPE : %d\n", CST_VAL_TYPE(element));
      std::fflush(stdout);
      continue;
    }
    std::string phone = val_string(element);
    // Flite 2.2 marks stressed vowels with "1" and unstressed ones with "0";
    // the phone tables know the bare symbols only.
    if (!phone.empty() && (phone.back() == '1' || phone.back() == '0')) {
      phone.pop_back();
    }
    phones.push_back(std::move(phone));
  }
  return phones;
}

}  // namespace marrowfield
