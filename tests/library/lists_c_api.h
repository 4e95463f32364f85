// Owners for the handles of the pair finding library's C interface in
// tests: each destroys its handle once, and out() hands the library the
// place to write a new one.

#ifndef MARROWFIELD_TESTS_LISTS_LISTS_C_API_H_
#define MARROWFIELD_TESTS_LISTS_LISTS_C_API_H_

#include <string>

#include "marrowfield_api.h"

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

class Options : public Owned<mf_options_t, mf_options_destroy> {
 public:
  Options() { handle_ = mf_options_create(); }
};

using Groups = Owned<mf_groups_t, mf_groups_destroy>;
using Links = Owned<mf_links_t, mf_links_destroy>;
using Records = Owned<mf_records_t, mf_records_destroy>;
using Strings = Owned<mf_strings_t, mf_strings_destroy>;
using Explanation = Owned<mf_explanation_t, mf_explanation_destroy>;

// A message written through errptr; out() may be passed again and again.
class Error {
 public:
  Error() = default;
  ~Error() { mf_free(message_); }
  Error(const Error&) = delete;
  Error& operator=(const Error&) = delete;

  char** out() { return &message_; }
  std::string text() const { return message_ != nullptr ? message_ : ""; }

 private:
  char* message_ = nullptr;
};

}  // namespace marrowfield::lists::testing

#endif  // MARROWFIELD_TESTS_LISTS_LISTS_C_API_H_
