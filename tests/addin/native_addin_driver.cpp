// The native AddinDriver: an AddinSession with fake ports, the fake host
// linked in, and the engine's shared library.

#include <memory>

#include "addin_driver.h"
#include "addin_session.h"
#include "bridge_state.h"
#include "fake_ports.h"
#include "marrowfield.h"

namespace marrowfield {
namespace {

class NativeAddinDriver : public AddinDriver {
 public:
  NativeAddinDriver()
      : automation_(debug_),
        session_(LoadAddinConfig(configuration_, debug_),
                 AddinPorts{debug_, automation_, dialogs_}) {}

  // The bridge's globals belong to the process; each driver starts and
  // leaves them clear.
  ~NativeAddinDriver() override { ForgetHostConnection(); }

  int32_t AutoOpen() override { return session_.AutoOpen(); }
  int32_t AutoClose() override { return session_.AutoClose(); }
  XLOPER* AutoRegister(XLOPER* name) override {
    return session_.AutoRegister(name);
  }
  XLOPER* AddInManagerInfo(XLOPER* action) override {
    return session_.AddInManagerInfo(action);
  }
  int CompareWords(const char* word1, const char* word2) override {
    return compare_words(word1, word2);
  }
  std::string AddinPath() const override {
    return "C:\\Addins\\MarrowfieldExcel.xll";
  }

 private:
  FakeDebugOutput debug_;
  FakeConfiguration configuration_;
  FakeHostAutomation automation_;
  FakeDialogs dialogs_;
  AddinSession session_;
};

}  // namespace

std::unique_ptr<AddinDriver> MakeAddinDriver() {
  ForgetHostConnection();
  return std::make_unique<NativeAddinDriver>();
}

}  // namespace marrowfield
