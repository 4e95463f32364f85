// HostCallError: what a failing call into the host's automation raises. It
// carries the HRESULT so that the command that catches it can say why.

#ifndef MARROWFIELD_ADDIN_HOST_CALL_ERROR_H_
#define MARROWFIELD_ADDIN_HOST_CALL_ERROR_H_

#include <cstdint>
#include <stdexcept>
#include <string>

namespace marrowfield {

class HostCallError : public std::runtime_error {
 public:
  HostCallError(int32_t hresult, const std::string& what)
      : std::runtime_error(what), hresult_(hresult) {}

  int32_t hresult() const { return hresult_; }

 private:
  int32_t hresult_;
};

// HRESULTs the add-in produces itself.
constexpr int32_t kHresultNotImplemented = static_cast<int32_t>(0x80004001u);
constexpr int32_t kHresultFail = static_cast<int32_t>(0x80004005u);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_HOST_CALL_ERROR_H_
