// DescribeValue: a host value as short text ("num:10", "str:Help",
// "err:15", "multi:2x1[int:1|nil]"), so recorded calls and answers can be
// compared as plain strings in tests.

#ifndef MARROWFIELD_TESTS_FAKES_VALUE_DESCRIPTION_H_
#define MARROWFIELD_TESTS_FAKES_VALUE_DESCRIPTION_H_

#include <string>

#include "xloper.h"

namespace marrowfield {

// "null" for a null pointer; strings are read through their length byte.
std::string DescribeValue(const XLOPER* value);

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FAKES_VALUE_DESCRIPTION_H_
