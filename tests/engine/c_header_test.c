/* Proves that the public header compiles as C and that its functions can be
 * called from C. */

#include <stdio.h>
#include <string.h>

#include "marrowfield.h"

int main(void) {
  char code[16];
  ResultIterator* phones;
  int start = 0;
  int length = 0;
  if (initialize() != 0) return 1;
  if (compare_words("knight", "night") != 100) return 2;
  if (get_codes_for_word("knight", code, sizeof code) != 2) return 3;
  if (strcmp(code, "43") != 0) return 4;
  phones = get_phonemes("knight", MODE_LEXICON);
  if (get_result_size(phones) != 3) return 5;
  if (strcmp(get_result_item(phones, 0), "n") != 0) return 6;
  close_result_iterator(phones);
  if (match_sub_string_phonetically("fox", "the fox", &start, &length,
                                    MODE_LEXICON) != 100) {
    return 7;
  }
  un_initialize();
  puts("C interface ok");
  return 0;
}
