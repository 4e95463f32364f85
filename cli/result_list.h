// Owns a ResultIterator handed out by the engine and closes it exactly once.
#ifndef MARROWFIELD_CLI_RESULT_LIST_H_
#define MARROWFIELD_CLI_RESULT_LIST_H_

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "marrowfield.h"

namespace marrowfield {

struct ResultIteratorCloser {
  void operator()(ResultIterator* handle) const {
    close_result_iterator(handle);
  }
};

using ResultList = std::unique_ptr<ResultIterator, ResultIteratorCloser>;

// Copies the strings of |list| out and closes it. Throws std::bad_alloc for a
// null list, which the engine returns only when memory ran out.
inline std::vector<std::string> TakeStrings(ResultList list) {
  if (!list) throw std::bad_alloc();
  std::vector<std::string> strings;
  const int size = get_result_size(list.get());
  for (int i = 0; i < size; ++i) {
    const char* item = get_result_item(list.get(), i);
    strings.emplace_back(item != nullptr ? item : "");
  }
  return strings;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_RESULT_LIST_H_
