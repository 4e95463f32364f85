// The real MarrowfieldExcel.xll connecting to a fake Excel of real COM
// objects when Excel opens it: xlAutoOpen finds the XLL's own host among
// two through the probe macro, which reaches the XLL's CheckInstance, and
// xlAutoClose gives every reference back.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "bridge_rig.h"
#include "fake_host_documents.h"
#include "fake_xlcall32.h"
#include "win32/xll_module.h"

namespace marrowfield {
namespace {

#if defined(_WIN64)
#define XLL_CALL
#else
#define XLL_CALL __stdcall
#endif
using EntryFunction = int(XLL_CALL*)();

class XllBridge : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    rig_ = MakeBridgeRig();
    fake_xl_set_addin_path(xllPath_.c_str());
  }

  int AddHost(bool own, const std::string& bookPath) {
    const int process = own ? rig_->AddOwnProcess() : rig_->AddForeignProcess();
    const int book = rig_->model().AddWorkbook(process, bookPath);
    rig_->model().AddWorksheet(process, book, "Sheet1");
    return process;
  }

  const std::string xllPath_ = ProgramDirectory() + kXllFileName;
  std::unique_ptr<BridgeRig> rig_;
};

TEST_F(XllBridge, OpenFindsItsOwnHostAmongTwo_CloseReleasesEverything) {
  const int foreign = AddHost(false, "C:\\Books\\foreign.xlsx");
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().SetActiveProcess(foreign);
  rig_->Publish();
  {
    XllModule xll(xllPath_);
    xll.Get<EntryFunction>("xlAutoOpen")();

    // The XLL asked both hosts; only its own could answer, through the XLL.
    EXPECT_GE(rig_->foreignProbes(), 1);
    ASSERT_EQ(rig_->model().macros(own).size(), 1u);
    EXPECT_EQ(rig_->model().macros(own)[0],
              "cALL(\"" + xllPath_ + "\",\"CheckInstance\",\"j\")");
    EXPECT_EQ(fake_xl_open_documents(), 0);
    EXPECT_EQ(fake_xl_screen_updating(), 1);
    // Connected: the XLL holds its Application and Workbooks.
    EXPECT_GT(rig_->model().OutstandingReferences(), 0);

    xll.Get<EntryFunction>("xlAutoClose")();
  }
  rig_->Withdraw();
  EXPECT_EQ(rig_->model().OutstandingReferences(), 0);
  EXPECT_EQ(rig_->model().overReleases(), 0);
  EXPECT_EQ(rig_->model().deadUses(), 0);
}

TEST_F(XllBridge, OpenWithNoHostRunning_LeavesNoDocumentAndHoldsNothing) {
  AddHost(true, "C:\\Books\\own.xlsx");
  rig_->Publish();
  {
    XllModule xll(xllPath_);
    xll.Get<EntryFunction>("xlAutoOpen")();
    EXPECT_EQ(fake_xl_open_documents(), 0);
    EXPECT_EQ(fake_xl_screen_updating(), 1);
    EXPECT_TRUE(rig_->model().macros(0).empty());
    xll.Get<EntryFunction>("xlAutoClose")();
  }
  rig_->Withdraw();
  EXPECT_EQ(rig_->model().OutstandingReferences(), 0);
  EXPECT_EQ(rig_->model().overReleases(), 0);
}

}  // namespace
}  // namespace marrowfield
