// The XLL's own functions beyond open and close, under Wine: the probe
// the automation bridge calls back, and a command that must end quietly
// with an error line (no host automation, so no sample workbook) instead
// of letting anything escape.

#include <gtest/gtest.h>

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

class XllExports : public ::testing::Test {
 protected:
  void SetUp() override { fake_xl_reset(); }
  XllModule xll_{ProgramDirectory() + kXllFileName};
};

TEST_F(XllExports, CheckInstance_AnswersOneOutsideTheProbe) {
  EXPECT_EQ(xll_.Get<EntryFunction>("CheckInstance")(), 1);
  EXPECT_EQ(xll_.Get<EntryFunction>("CheckInstance")(), 1);
}

TEST_F(XllExports, TestCommand_WithoutHostAutomation_AnswersOne) {
  fake_xl_set_addin_path((ProgramDirectory() + kXllFileName).c_str());
  ASSERT_EQ(xll_.Get<EntryFunction>("xlAutoOpen")(), 1);
  EXPECT_EQ(xll_.Get<EntryFunction>("fMarrowfieldTest")(), 1);
  EXPECT_EQ(xll_.Get<EntryFunction>("xlAutoClose")(), 1);
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
}

}  // namespace
}  // namespace marrowfield
