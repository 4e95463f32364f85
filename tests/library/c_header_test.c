/* Proves that the pair finding library's public header compiles as C and
 * that its functions can be called from C: options, a dedupe, a link, a
 * dedupe of records, an explanation, a cancel callback that never says
 * stop, and an error message freed by the library. */

#include <stdio.h>
#include <string.h>

#include "marrowfield_api.h"

static int keep_going(void* state) {
  ++*(int*)state;
  return 0;
}

int main(void) {
  const char* values[] = {"Smith", "Smyth", "Jones"};
  const uint64_t counts[] = {3, 1, 1};
  mf_options_t* options = mf_options_create();
  mf_groups_t* groups = NULL;
  mf_links_t* links = NULL;
  mf_explanation_t* explanation = NULL;
  mf_records_t* records = NULL;
  const char* first[] = {"Jon", "Smyth", "Boston"};
  const char* second[] = {"John", "Smith", "boston"};
  char* error = NULL;
  int score = -1;
  int asked = 0;
  if (options == NULL) return 1;
  mf_options_set_whole_cell(options, 1);
  mf_options_set_cancel(options, keep_going, &asked);
  if (mf_dedupe(options, values, counts, 3, &groups, &error) != MF_OK ||
      asked == 0) {
    return 2;
  }
  if (mf_groups_count(groups) != 1) return 3;
  if (mf_groups_canonical(groups, 0) != 0) return 4;
  mf_groups_destroy(groups);
  if (mf_link(options, values, 1, values + 1, 2, &links, &error) != MF_OK) {
    return 5;
  }
  if (mf_links_match_count(links, 0) != 1) return 6;
  mf_links_destroy(links);
  mf_options_set_whole_cell(options, 0);
  if (mf_records_create(2, 1, 0, &records, &error) != MF_OK ||
      mf_records_add(records, first, &error) != MF_OK ||
      mf_records_add(records, second, &error) != MF_OK ||
      mf_records_count(records) != 2) {
    return 11;
  }
  if (mf_records_dedupe(options, records, &groups, &error) != MF_OK) {
    return 12;
  }
  if (mf_groups_count(groups) != 1 || mf_groups_member_count(groups, 0) != 2) {
    return 13;
  }
  mf_groups_destroy(groups);
  mf_records_destroy(records);
  if (mf_explain(options, "knight", "night", &explanation, &error) != MF_OK) {
    return 7;
  }
  if (mf_explanation_percentage(explanation) != 100) return 8;
  if (strcmp(mf_explanation_phones(explanation, 1), "n ay t") != 0) return 9;
  mf_explanation_destroy(explanation);
  mf_options_set_accuracy(options, 200);
  if (mf_compare(options, "a", "b", &score, &error) != MF_INVALID_ARGUMENT ||
      error == NULL || score != -1) {
    return 10;
  }
  mf_free(error);
  mf_options_destroy(options);
  puts("lists C interface ok");
  return 0;
}
