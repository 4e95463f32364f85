// BridgeRig: a fake Excel world set up behind the automation port the way
// each platform can. Natively the model stands behind FakeAutomationPort;
// under Wine it is made of real COM objects registered as the active
// object and in the running-object table, reached through the add-in's
// COM adapter. The same bridge scenarios run on both.

#ifndef MARROWFIELD_TESTS_ADDIN_BRIDGE_RIG_H_
#define MARROWFIELD_TESTS_ADDIN_BRIDGE_RIG_H_

#include <memory>
#include <string>
#include <vector>

#include "automation_port.h"
#include "debug_output.h"
#include "fake_excel_model.h"

struct IDispatch;

namespace marrowfield {

class BridgeRig {
 public:
  virtual ~BridgeRig() = default;

  virtual FakeExcelModel& model() = 0;
  virtual AutomationPort& port() = 0;
  virtual DebugOutput& debug() = 0;
  virtual const std::vector<std::string>& debugLines() const = 0;

  // A host process that loaded this program's copy of the add-in: the probe
  // macro run there reaches this program's CheckInstance.
  virtual int AddOwnProcess() = 0;
  // A host process with a copy of the add-in of its own.
  virtual int AddForeignProcess() = 0;
  // How often foreign copies of the add-in answered the probe.
  virtual int foreignProbes() const = 0;

  // Registers the active process's Application as the active object for
  // "Excel.Application" and every workbook with a path in the
  // running-object table. Call after building the world.
  virtual void Publish() = 0;
  // Takes every registration back, so that only the references the add-in
  // holds remain counted.
  virtual void Withdraw() = 0;

  // The path the fake callback library must answer xlGetName with, so that
  // the probe leads back to this program.
  virtual std::string LibraryPath() const = 0;

  // The model's object behind |object|, a pointer the port handed out.
  virtual int ObjectOf(IDispatch* object) = 0;
};

// A rig with an empty world, the platform's one.
std::unique_ptr<BridgeRig> MakeBridgeRig();

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_ADDIN_BRIDGE_RIG_H_
