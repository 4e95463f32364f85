// ComError: what a failing automation call of the installer raises -- the
// HRESULT and, when the call left any, the error information (source and
// description). The installer catches it once, around its whole sequence.

#ifndef MARROWFIELD_SETUP_COM_ERROR_H_
#define MARROWFIELD_SETUP_COM_ERROR_H_

#include <stdexcept>
#include <string>

#include "automation_port.h"

namespace marrowfield {

class ComError : public std::runtime_error {
 public:
  // An error that left no error information.
  explicit ComError(HResult hr)
      : std::runtime_error("automation call failed"), hresult_(hr) {}
  ComError(HResult hr, std::string source, std::string description)
      : std::runtime_error("automation call failed"),
        hresult_(hr),
        hasErrorInfo_(true),
        source_(std::move(source)),
        description_(std::move(description)) {}

  HResult hresult() const { return hresult_; }
  bool hasErrorInfo() const { return hasErrorInfo_; }
  const std::string& source() const { return source_; }
  const std::string& description() const { return description_; }

 private:
  HResult hresult_;
  bool hasErrorInfo_ = false;
  std::string source_;
  std::string description_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_SETUP_COM_ERROR_H_
