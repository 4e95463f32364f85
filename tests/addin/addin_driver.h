// AddinDriver: the add-in's entry points as a test reaches them. The same
// scenario tests run natively against an AddinSession with fake ports, and
// under Wine against the real MarrowfieldExcel.xll through its exports;
// each test program links the one driver that fits.

#ifndef MARROWFIELD_TESTS_ADDIN_ADDIN_DRIVER_H_
#define MARROWFIELD_TESTS_ADDIN_ADDIN_DRIVER_H_

#include <cstdint>
#include <memory>
#include <string>

#include "xloper.h"

namespace marrowfield {

class AddinDriver {
 public:
  virtual ~AddinDriver() = default;

  virtual int32_t AutoOpen() = 0;
  virtual int32_t AutoClose() = 0;
  virtual XLOPER* AutoRegister(XLOPER* procedureName) = 0;
  virtual XLOPER* AddInManagerInfo(XLOPER* action) = 0;

  // The engine's compare_words as the add-in's module exports it.
  virtual int CompareWords(const char* word1, const char* word2) = 0;

  // The path the fake host should give for xlGetName.
  virtual std::string AddinPath() const = 0;
};

// A driver over a freshly started add-in (nothing opened yet).
std::unique_ptr<AddinDriver> MakeAddinDriver();

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_ADDIN_ADDIN_DRIVER_H_
