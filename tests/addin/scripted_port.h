// ScriptedPort: an automation port that answers every Invoke with the next
// scripted answer and records what it was asked, for tests of the code
// that builds the calls (argument encodings, flags, locales) rather than of
// what a host would answer. Objects are numbered handles whose releases are
// counted one by one.

#ifndef MARROWFIELD_TESTS_ADDIN_SCRIPTED_PORT_H_
#define MARROWFIELD_TESTS_ADDIN_SCRIPTED_PORT_H_

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "automation_port.h"

namespace marrowfield {

class ScriptedPort : public AutomationPort {
 public:
  struct Call {
    int object;
    DispId member;
    InvokeKind kind;
    uint32_t locale;
    std::vector<std::string> arguments;  // "I2:3", "I4:5", "BSTR:x"
    bool wantsResult;
  };
  struct Answer {
    HResult hr = 0;
    // kEmpty, or one of: integer (I4), string, or an object numbered
    // |object| (a new reference).
    enum class Kind { kEmpty, kInt32, kString, kObject } kind = Kind::kEmpty;
    int32_t number = 0;
    std::string text;
    int object = 0;
  };

  HResult InitializeOle() noexcept override { return 0; }
  void UninitializeOle() noexcept override {}
  HResult ClassIdFromProgId(const std::string&, ClassId*) noexcept override {
    return kEFail;
  }
  HResult GetActiveObject(const ClassId&, DispatchRef*) noexcept override {
    return kEFail;
  }
  HResult GetIdOfName(IDispatch*, const std::string&, uint32_t,
                      DispId*) noexcept override {
    return kEFail;
  }
  HResult Invoke(IDispatch* object, const InvokeRequest& request,
                 AutomationValue* result, InvokeException* exception,
                 uint32_t* argumentError) noexcept override;
  HResult OpenRunningObjects(
      std::unique_ptr<RunningObjects>*) noexcept override {
    return kEFail;
  }
  void Release(IDispatch* object) noexcept override {
    ++releases[Number(object)];
  }

  // The handle of object |number| (from 1).
  static IDispatch* Handle(int number);
  static int Number(IDispatch* handle);

  std::deque<Answer> answers;
  std::vector<Call> calls;
  std::map<int, int> releases;  // object number -> Release calls
};

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_ADDIN_SCRIPTED_PORT_H_
