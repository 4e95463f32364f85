// Fuzzes get_similar_words_from_list with lists made from the input: the
// result holds only list entries, each no more often than it was given.

#include <algorithm>
#include <map>

#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace marrowfield;
  EnsureEngine();
  FuzzInput input(data, size);
  set_threshold(input.Byte() % 101);
  const std::string word = input.Field('\n');
  std::vector<std::string> entries;
  while (!input.Done() && entries.size() < 64) {
    entries.push_back(input.Field('\n'));
  }
  std::vector<const char*> list;
  std::map<std::string, int> given;
  for (const std::string& entry : entries) {
    list.push_back(entry.c_str());
    ++given[entry];
  }
  const std::vector<std::string> similar = Drain(get_similar_words_from_list(
      word.c_str(), list.data(), static_cast<unsigned>(list.size())));
  for (const std::string& found : similar) {
    Require(--given[found] >= 0, "results come from the list");
  }
  return 0;
}
