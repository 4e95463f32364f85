// The native BridgeRig: the model behind FakeAutomationPort. The own
// process's library is this program, whose CheckInstance body is
// CheckInstanceProbe; a foreign process has a copy of its own, which here
// is a counter with flags that are not ours.

#include <memory>

#include "bridge_rig.h"
#include "bridge_state.h"
#include "fake_automation_port.h"
#include "fake_ports.h"

namespace marrowfield {
namespace {

constexpr const char* kLibraryPath =
    "C:\\Program Files\\Marrowfield\\MarrowfieldExcel.xll";

class NativeBridgeRig : public BridgeRig {
 public:
  NativeBridgeRig() : port_(model_) {}

  FakeExcelModel& model() override { return model_; }
  AutomationPort& port() override { return port_; }
  DebugOutput& debug() override { return debug_; }
  const std::vector<std::string>& debugLines() const override {
    return debug_.lines;
  }

  int AddOwnProcess() override {
    return model_.AddProcess([this](const std::string& path, int32_t* answer) {
      if (path != kLibraryPath) return false;
      *answer = CheckInstanceProbe(debug_);
      return true;
    });
  }

  int AddForeignProcess() override {
    return model_.AddProcess([this](const std::string&, int32_t* answer) {
      // The other process's copy: its own g_bOkayToSetIFlag is false, so it
      // only says so.
      ++foreignProbes_;
      *answer = 1;
      return true;
    });
  }
  int foreignProbes() const override { return foreignProbes_; }

  void Publish() override {}
  void Withdraw() override {}
  std::string LibraryPath() const override { return kLibraryPath; }
  int ObjectOf(IDispatch* object) override { return port_.ObjectOf(object); }

  FakeAutomationPort& fakePort() { return port_; }

 private:
  FakeExcelModel model_;
  FakeAutomationPort port_;
  FakeDebugOutput debug_;
  int foreignProbes_ = 0;
};

}  // namespace

std::unique_ptr<BridgeRig> MakeBridgeRig() {
  return std::make_unique<NativeBridgeRig>();
}

}  // namespace marrowfield
