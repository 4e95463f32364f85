/* Proves that the pair finding library's public header compiles as C and
 * that its functions can be called from C: options, a dedupe, a link, an
 * explanation and an error message freed by the library. */

#include <stdio.h>
#include <string.h>

#include "marrowfield_lists.h"

int main(void) {
  const char* values[] = {"Smith", "Smyth", "Jones"};
  const uint64_t counts[] = {3, 1, 1};
  mfl_options_t* options = mfl_options_create();
  mfl_groups_t* groups = NULL;
  mfl_links_t* links = NULL;
  mfl_explanation_t* explanation = NULL;
  char* error = NULL;
  int score = -1;
  if (options == NULL) return 1;
  mfl_options_set_whole_cell(options, 1);
  if (mfl_dedupe(options, values, counts, 3, &groups, &error) != MFL_OK) {
    return 2;
  }
  if (mfl_groups_count(groups) != 1) return 3;
  if (mfl_groups_canonical(groups, 0) != 0) return 4;
  mfl_groups_destroy(groups);
  if (mfl_link(options, values, 1, values + 1, 2, &links, &error) != MFL_OK) {
    return 5;
  }
  if (mfl_links_match_count(links, 0) != 1) return 6;
  mfl_links_destroy(links);
  if (mfl_explain(options, "knight", "night", &explanation, &error) != MFL_OK) {
    return 7;
  }
  if (mfl_explanation_percentage(explanation) != 100) return 8;
  if (strcmp(mfl_explanation_phones(explanation, 1), "n ay t") != 0) return 9;
  mfl_explanation_destroy(explanation);
  mfl_options_set_accuracy(options, 200);
  if (mfl_compare(options, "a", "b", &score, &error) != MFL_INVALID_ARGUMENT ||
      error == NULL || score != -1) {
    return 10;
  }
  mfl_free(error);
  mfl_options_destroy(options);
  puts("lists C interface ok");
  return 0;
}
