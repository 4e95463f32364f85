/* The C part of the golden battery: calls the eleven functions of
 * marrowfield.h, compiled as C, and prints every answer under a label, so
 * that run_golden.py can compare the whole record byte for byte.
 *
 * Standard input holds the shared inputs, one case a line, fields split by
 * tabs: "word\tW" (phones both ways and the code of W), "pair\tA\tB"
 * (scores both ways), "match\tPHRASE\tTEXT" (both modes) and
 * "similar\tTHRESHOLD\tWORD\tCANDIDATE..." (a list search). Around them the
 * program walks the lifecycle itself: calls before initialize(), null
 * pointers, buffers too small, threshold values out of range, and calls
 * after un_initialize(). It prints to standard output only and exits 0
 * unless its input is malformed. */

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "marrowfield.h"

#define MAX_FIELDS 64
#define MAX_LINE (64 * 1024)

/* Prints a list and closes it: its size and its items, one per line. */
static void print_list(const char* label, ResultIterator* list) {
  int size;
  int i;
  if (list == NULL) {
    printf("=== %s\nNULL\n", label);
    return;
  }
  size = get_result_size(list);
  printf("=== %s\nsize %d\n", label, size);
  for (i = 0; i < size; ++i) printf("[%d] %s\n", i, get_result_item(list, i));
  close_result_iterator(list);
}

/* Prints what get_codes_for_word returns and writes for a buffer of
 * |size| bytes; bytes it leaves alone show as '#'. */
static void print_code(const char* label, const char* word, unsigned size) {
  char buffer[64];
  unsigned i;
  int length;
  memset(buffer, '#', sizeof buffer);
  length = get_codes_for_word(word, buffer, size);
  printf("=== %s\nreturns %d, buffer[%u] ", label, length, size);
  for (i = 0; i < size && i < sizeof buffer; ++i) {
    putchar(buffer[i] == '\0' ? '0' : buffer[i]);
  }
  printf(" (0: a NUL)\n");
}

static void print_match(const char* label, const char* phrase,
                        const char* text, int mode) {
  /* Seeded so that "writes nothing" shows as 77/77. */
  int start = 77;
  int length = 77;
  int score = match_sub_string_phonetically(phrase, text, &start, &length,
                                            mode);
  printf("=== %s\nscore %d start %d length %d\n", label, score, start,
         length);
}

static const char* kSmithList[] = {"smyth",  "smithe", "schmidt",
                                         "jones",  "smith",  "smyth",
                                         "thomson"};
#define SMITH_LIST_SIZE 7u

/* Every function once on |word1| and |word2|, labelled by the state of the
 * engine; the list search looks for |word1| in kSmithList. */
static void call_everything(const char* state, const char* word1,
                            const char* word2) {
  char label[160];
  snprintf(label, sizeof label, "%s: compare_words %s %s", state, word1,
           word2);
  printf("=== %s\n%d\n", label, compare_words(word1, word2));
  snprintf(label, sizeof label, "%s: get_phonemes %s", state, word1);
  print_list(label, get_phonemes(word1, MODE_LEXICON));
  snprintf(label, sizeof label, "%s: get_phonemes %s rules", state, word2);
  print_list(label, get_phonemes(word2, MODE_LTS_ONLY));
  snprintf(label, sizeof label, "%s: get_codes_for_word %s", state, word1);
  print_code(label, word1, 16);
  snprintf(label, sizeof label, "%s: get_similar_words_from_list %s", state,
           word1);
  print_list(label, get_similar_words_from_list(word1, kSmithList,
                                                SMITH_LIST_SIZE));
  snprintf(label, sizeof label, "%s: match %s in mr %s", state, word1, word2);
  {
    char text[96];
    snprintf(text, sizeof text, "mr %s", word2);
    print_match(label, word1, text, MODE_LEXICON);
  }
}

static void null_pointers(void) {
  const char* withNulls[] = {"smyth", NULL, "smith", NULL};
  int start = 77;
  int length = 77;
  printf("=== compare_words NULL smith\n%d\n", compare_words(NULL, "smith"));
  printf("=== compare_words smith NULL\n%d\n", compare_words("smith", NULL));
  printf("=== compare_words NULL NULL\n%d\n", compare_words(NULL, NULL));
  print_list("get_phonemes NULL", get_phonemes(NULL, MODE_LEXICON));
  print_list("get_phonemes NULL rules", get_phonemes(NULL, MODE_LTS_ONLY));
  print_code("get_codes_for_word NULL", NULL, 16);
  printf("=== get_codes_for_word smith, NULL buffer of 16\n%d\n",
         get_codes_for_word("smith", NULL, 16));
  printf("=== get_codes_for_word smith, NULL buffer of 0\n%d\n",
         get_codes_for_word("smith", NULL, 0));
  print_list("get_similar_words_from_list NULL word",
             get_similar_words_from_list(NULL, kSmithList, SMITH_LIST_SIZE));
  print_list("get_similar_words_from_list NULL list",
             get_similar_words_from_list("smith", NULL, SMITH_LIST_SIZE));
  print_list("get_similar_words_from_list count 0",
             get_similar_words_from_list("smith", kSmithList, 0));
  print_list("get_similar_words_from_list NULL entries",
             get_similar_words_from_list("smith", withNulls, 4));
  print_match("match NULL phrase", NULL, "mr smith", MODE_LEXICON);
  print_match("match NULL text", "smith", NULL, MODE_LEXICON);
  printf("=== match NULL start\n%d\n",
         match_sub_string_phonetically("smith", "mr smith", NULL, &length,
                                       MODE_LEXICON));
  printf("=== match NULL length\n%d start %d\n",
         match_sub_string_phonetically("smith", "mr smith", &start, NULL,
                                       MODE_LEXICON),
         start);
  printf("=== get_result_size NULL\n%d\n", get_result_size(NULL));
  printf("=== get_result_item NULL 0\n%s\n",
         get_result_item(NULL, 0) == NULL ? "NULL" : "not NULL");
  close_result_iterator(NULL);
  printf("=== close_result_iterator NULL\nreturned\n");
}

static void handles_and_buffers(void) {
  ResultIterator* list = get_phonemes("knight", MODE_LEXICON);
  const int size = get_result_size(list);
  int index;
  unsigned bufferSize;
  for (index = -2; index <= size + 1; ++index) {
    const char* item = get_result_item(list, index);
    printf("=== get_result_item knight %d\n%s\n", index,
           item == NULL ? "NULL" : item);
  }
  close_result_iterator(list);
  for (bufferSize = 0; bufferSize <= 6; ++bufferSize) {
    char label[64];
    snprintf(label, sizeof label, "get_codes_for_word catherine buffer %u",
             bufferSize);
    print_code(label, "catherine", bufferSize);
  }
  print_code("get_codes_for_word Catherine (no case folding)", "Catherine",
             16);
  print_list("get_phonemes knight mode 2 (lexicon)", get_phonemes("knight", 2));
  print_list("get_phonemes knight mode -1 (lexicon)",
             get_phonemes("knight", -1));
  print_match("match knight mode 2", "knight", "one night", 2);
}

static void thresholds(void) {
  static const unsigned kLevels[] = {0u,   50u,   75u,          90u, 100u,
                                     101u, 200u,  4294967295u, 80u};
  static const char* kNames[] = {"smyth",   "smithe", "schmidt",
                                       "jones",   "smith",  "smithson",
                                       "",        "123",    "smitt"};
  size_t i;
  for (i = 0; i < sizeof kLevels / sizeof kLevels[0]; ++i) {
    char label[96];
    set_threshold(kLevels[i]);
    snprintf(label, sizeof label, "set_threshold %u then similar smith",
             kLevels[i]);
    print_list(label, get_similar_words_from_list("smith", kNames, 9));
  }
  set_threshold((unsigned)-1);
  print_list("set_threshold (unsigned)-1 keeps 80",
             get_similar_words_from_list("smith", kNames, 9));
  set_threshold(50);
}

/* Splits |line| at tabs in place; returns the number of fields. */
static int split(char* line, char** fields) {
  int count = 0;
  char* p = line;
  fields[count++] = p;
  while ((p = strchr(p, '\t')) != NULL && count < MAX_FIELDS) {
    *p++ = '\0';
    fields[count++] = p;
  }
  return count;
}

static int run_input_case(char** f, int n) {
  char label[256];
  if (strcmp(f[0], "word") == 0 && n == 2) {
    snprintf(label, sizeof label, "get_phonemes %.200s", f[1]);
    print_list(label, get_phonemes(f[1], MODE_LEXICON));
    snprintf(label, sizeof label, "get_phonemes %.200s rules", f[1]);
    print_list(label, get_phonemes(f[1], MODE_LTS_ONLY));
    snprintf(label, sizeof label, "get_codes_for_word %.200s", f[1]);
    print_code(label, f[1], 64);
  } else if (strcmp(f[0], "pair") == 0 && n == 3) {
    printf("=== compare_words %.200s | %.200s\n%d\n", f[1], f[2],
           compare_words(f[1], f[2]));
    if (strcmp(f[1], f[2]) != 0) {
      printf("=== compare_words %.200s | %.200s\n%d\n", f[2], f[1],
             compare_words(f[2], f[1]));
    }
  } else if (strcmp(f[0], "match") == 0 && n == 3) {
    snprintf(label, sizeof label, "match %.100s in %.100s", f[1], f[2]);
    print_match(label, f[1], f[2], MODE_LEXICON);
    snprintf(label, sizeof label, "match %.100s in %.100s rules", f[1], f[2]);
    print_match(label, f[1], f[2], MODE_LTS_ONLY);
  } else if (strcmp(f[0], "similar") == 0 && n >= 3) {
    set_threshold((unsigned)atoi(f[1]));
    snprintf(label, sizeof label, "similar %.100s threshold %s (%d entries)",
             f[2], f[1], n - 3);
    print_list(label, get_similar_words_from_list(
                          f[2], (const char**)(f + 3), (unsigned)(n - 3)));
    set_threshold(50);
  } else {
    return 0;
  }
  return 1;
}

int main(void) {
  static char line[MAX_LINE];
  char* fields[MAX_FIELDS];
  /* Words asked before initialize() are asked again afterwards: whether
   * their answers from then are kept is part of the record. */
  call_everything("before initialize", "smithers", "smothers");
  printf("=== initialize\n%d\n", initialize());
  call_everything("initialized, words first asked before initialize",
                  "smithers", "smothers");
  call_everything("initialized", "smith", "smyth");
  null_pointers();
  handles_and_buffers();
  thresholds();
  while (fgets(line, sizeof line, stdin) != NULL) {
    size_t length = strlen(line);
    if (length > 0 && line[length - 1] == '\n') line[--length] = '\0';
    if (!run_input_case(fields, split(line, fields))) {
      fprintf(stderr, "c_battery: malformed input line: %.60s\n", line);
      return 2;
    }
  }
  printf("=== initialize again\n%d\n", initialize());
  call_everything("initialized twice", "smith", "smyth");
  un_initialize();
  call_everything("after un_initialize", "smith", "smyth");
  call_everything("after un_initialize, new words", "johnson", "jonson");
  un_initialize();
  call_everything("after un_initialize twice", "smith", "smyth");
  printf("=== initialize after un_initialize\n%d\n", initialize());
  call_everything("initialized again, words first asked after un_initialize",
                  "johnson", "jonson");
  call_everything("initialized again", "smith", "smyth");
  un_initialize();
  return 0;
}
