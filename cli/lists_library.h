// The pair finding library (marrowfield_lists.h) as the commands use it:
// its handles owned by unique pointers that destroy them once, and its
// status codes turned into exceptions the program reports on one line.
#ifndef MARROWFIELD_CLI_LISTS_LIBRARY_H_
#define MARROWFIELD_CLI_LISTS_LIBRARY_H_

#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include "marrowfield_lists.h"

namespace marrowfield {

template <typename Handle, void (*Destroy)(Handle*)>
struct MflDeleter {
  void operator()(Handle* handle) const { Destroy(handle); }
};

using MflOptions =
    std::unique_ptr<mfl_options_t,
                    MflDeleter<mfl_options_t, mfl_options_destroy>>;
using MflGroups =
    std::unique_ptr<mfl_groups_t, MflDeleter<mfl_groups_t, mfl_groups_destroy>>;
using MflLinks =
    std::unique_ptr<mfl_links_t, MflDeleter<mfl_links_t, mfl_links_destroy>>;
using MflExplanation =
    std::unique_ptr<mfl_explanation_t,
                    MflDeleter<mfl_explanation_t, mfl_explanation_destroy>>;

// Owns a message written through an mfl errptr.
class MflError {
 public:
  MflError() = default;
  ~MflError() { mfl_free(message_); }
  MflError(const MflError&) = delete;
  MflError& operator=(const MflError&) = delete;

  char** out() { return &message_; }
  std::string text() const { return message_ != nullptr ? message_ : ""; }

 private:
  char* message_ = nullptr;
};

// Throws for any status but MFL_OK: std::bad_alloc for MFL_OUT_OF_MEMORY,
// std::runtime_error with the library's message otherwise.
inline void CheckMfl(int status, const MflError& error) {
  if (status == MFL_OK) return;
  if (status == MFL_OUT_OF_MEMORY) throw std::bad_alloc();
  throw std::runtime_error(error.text());
}

// Returns new default options. Throws std::bad_alloc when memory ran out.
inline MflOptions NewMflOptions() {
  MflOptions options(mfl_options_create());
  if (!options) throw std::bad_alloc();
  return options;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_LISTS_LIBRARY_H_
