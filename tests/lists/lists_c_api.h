// Owners for the handles of the pair finding library's C interface in
// tests: each destroys its handle once, and out() hands the library the
// place to write a new one.

#ifndef MARROWFIELD_TESTS_LISTS_LISTS_C_API_H_
#define MARROWFIELD_TESTS_LISTS_LISTS_C_API_H_

#include <string>

#include "marrowfield_lists.h"

namespace marrowfield::lists::testing {

template <typename Handle, void (*Destroy)(Handle*)>
class Owned {
 public:
  Owned() = default;
  ~Owned() { Destroy(handle_); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Handle* get() const { return handle_; }
  // REQUIRES: nothing is owned yet.
  Handle** out() { return &handle_; }

 protected:
  Handle* handle_ = nullptr;
};

class Options : public Owned<mfl_options_t, mfl_options_destroy> {
 public:
  Options() { handle_ = mfl_options_create(); }
};

using Groups = Owned<mfl_groups_t, mfl_groups_destroy>;
using Links = Owned<mfl_links_t, mfl_links_destroy>;
using Strings = Owned<mfl_strings_t, mfl_strings_destroy>;
using Explanation = Owned<mfl_explanation_t, mfl_explanation_destroy>;

// A message written through errptr; out() may be passed again and again.
class Error {
 public:
  Error() = default;
  ~Error() { mfl_free(message_); }
  Error(const Error&) = delete;
  Error& operator=(const Error&) = delete;

  char** out() { return &message_; }
  std::string text() const { return message_ != nullptr ? message_ : ""; }

 private:
  char* message_ = nullptr;
};

}  // namespace marrowfield::lists::testing

#endif  // MARROWFIELD_TESTS_LISTS_LISTS_C_API_H_
