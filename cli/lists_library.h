// The pair finding library (marrowfield_api.h) as the commands use it:
// its handles owned by unique pointers that destroy them once, and its
// status codes turned into exceptions the program reports on one line.
#ifndef MARROWFIELD_CLI_LISTS_LIBRARY_H_
#define MARROWFIELD_CLI_LISTS_LIBRARY_H_

#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include "marrowfield_api.h"

namespace marrowfield {

template <typename Handle, void (*Destroy)(Handle*)>
struct MfDeleter {
  void operator()(Handle* handle) const { Destroy(handle); }
};

using MfOptions =
    std::unique_ptr<mf_options_t,
                    MfDeleter<mf_options_t, mf_options_destroy>>;
using MfGroups =
    std::unique_ptr<mf_groups_t, MfDeleter<mf_groups_t, mf_groups_destroy>>;
using MfLinks =
    std::unique_ptr<mf_links_t, MfDeleter<mf_links_t, mf_links_destroy>>;
using MfExplanation =
    std::unique_ptr<mf_explanation_t,
                    MfDeleter<mf_explanation_t, mf_explanation_destroy>>;

// Owns a message written through an mfl errptr.
class MfError {
 public:
  MfError() = default;
  ~MfError() { mf_free(message_); }
  MfError(const MfError&) = delete;
  MfError& operator=(const MfError&) = delete;

  char** out() { return &message_; }
  std::string text() const { return message_ != nullptr ? message_ : ""; }

 private:
  char* message_ = nullptr;
};

// Throws for any status but MF_OK: std::bad_alloc for MF_OUT_OF_MEMORY,
// std::runtime_error with the library's message otherwise.
inline void CheckMf(int status, const MfError& error) {
  if (status == MF_OK) return;
  if (status == MF_OUT_OF_MEMORY) throw std::bad_alloc();
  throw std::runtime_error(error.text());
}

// Returns new default options. Throws std::bad_alloc when memory ran out.
inline MfOptions NewMfOptions() {
  MfOptions options(mf_options_create());
  if (!options) throw std::bad_alloc();
  return options;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_LISTS_LIBRARY_H_
