// The BridgeRig under Wine: the model as real COM objects (ComFakeExcel),
// reached through the add-in's ComAutomationPort. The probe macro is run
// the way Excel runs CALL: the own process finds the library already
// loaded at the macro's path (this test program, which exports
// CheckInstance over its own copy of the bridge's flags, or the real XLL)
// and calls CheckInstance through GetProcAddress; a foreign process loads a
// copy of MarrowfieldExcel.xll of its own, whose flags are not ours.

#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "bridge_rig.h"
#include "bridge_state.h"
#include "com_automation_port.h"
#include "win32/com_fake_excel.h"
#include "win32/fake_excel_windows.h"
#include "win32/xll_module.h"

namespace marrowfield {
namespace {

using ProbeFunction = int(WINAPI*)();

class RecordingDebug : public DebugOutput {
 public:
  void Write(const char* text) noexcept override {
    try {
      lines.emplace_back(text == nullptr ? "" : text);
    } catch (...) {
    }
  }
  std::vector<std::string> lines;
};

RecordingDebug& TheDebug() {
  static RecordingDebug debug;
  return debug;
}

// The copy of the XLL that foreign processes load, made once per run.
XllModule& ForeignCopy() {
  static std::unique_ptr<XllModule> module = [] {
    // One folder per test process: a copy that another process has loaded
    // cannot be written over.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "marrowfield_foreign_" +
                               std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string copy = folder + "\\" + kXllFileName;
    if (!CopyFileA((ProgramDirectory() + kXllFileName).c_str(),
                   copy.c_str(), FALSE)) {
      throw std::runtime_error("cannot copy the XLL for a foreign host");
    }
    return std::make_unique<XllModule>(copy);
  }();
  return *module;
}

class ComBridgeRig : public BridgeRig {
 public:
  ComBridgeRig() : excel_(model_) {
    OleInitialize(nullptr);
    TheDebug().lines.clear();
  }
  ~ComBridgeRig() override {
    excel_.Withdraw();
    OleUninitialize();
  }

  FakeExcelModel& model() override { return model_; }
  AutomationPort& port() override { return port_; }
  DebugOutput& debug() override { return TheDebug(); }
  const std::vector<std::string>& debugLines() const override {
    return TheDebug().lines;
  }

  int AddOwnProcess() override {
    return model_.AddProcess([](const std::string& path, int32_t* answer) {
      HMODULE loaded = GetModuleHandleA(path.c_str());
      if (loaded == nullptr) return false;
      auto probe = reinterpret_cast<ProbeFunction>(
          reinterpret_cast<void*>(GetProcAddress(loaded, "CheckInstance")));
      if (probe == nullptr) return false;
      *answer = probe();
      return true;
    });
  }

  int AddForeignProcess() override {
    return model_.AddProcess([this](const std::string&, int32_t* answer) {
      ++foreignProbes_;
      *answer = ForeignCopy().Get<ProbeFunction>("CheckInstance")();
      return true;
    });
  }
  int foreignProbes() const override { return foreignProbes_; }

  void Publish() override { excel_.Publish(); }
  void Withdraw() override { excel_.Withdraw(); }

  std::string LibraryPath() const override {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
  }

  int ObjectOf(IDispatch* object) override { return excel_.ObjectOf(object); }

  ComFakeExcel& excel() { return excel_; }

 private:
  FakeExcelModel model_;
  ComFakeExcel excel_;
  ComAutomationPort port_;
  int foreignProbes_ = 0;
};

}  // namespace

std::unique_ptr<BridgeRig> MakeBridgeRig() {
  return std::make_unique<ComBridgeRig>();
}

ComFakeExcel& ComExcelOf(BridgeRig& rig) {
  return static_cast<ComBridgeRig&>(rig).excel();
}

}  // namespace marrowfield

// This program's copy of the add-in's probe, found by the own host's CALL
// through GetProcAddress like the XLL's.
extern "C" __declspec(dllexport) int WINAPI CheckInstance() {
  return marrowfield::CheckInstanceProbe(marrowfield::TheDebug());
}
