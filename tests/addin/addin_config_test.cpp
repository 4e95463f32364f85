// Reading the add-in's configuration, and the probe that answers the
// bridge's CheckInstance macro.

#include "addin_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge_state.h"
#include "fake_ports.h"

namespace marrowfield {
namespace {

TEST(LoadAddinConfig, ReadsBothValues) {
  FakeConfiguration source;
  FakeDebugOutput debug;
  source.values["SampleWorkBook"] = "C:\\Samples\\names.xlt";
  source.values["Version"] = "1.0";

  const AddinConfig config = LoadAddinConfig(source, debug);

  EXPECT_EQ(config.sampleWorkbookPath, "C:\\Samples\\names.xlt");
  EXPECT_EQ(config.versionText, "1.0");
  EXPECT_TRUE(debug.lines.empty());
}

TEST(LoadAddinConfig, MissingSampleWorkbook_StaysEmptyAndIsReported) {
  FakeConfiguration source;
  FakeDebugOutput debug;
  source.values["Version"] = "1.0";

  const AddinConfig config = LoadAddinConfig(source, debug);

  EXPECT_EQ(config.sampleWorkbookPath, "");
  EXPECT_EQ(config.versionText, "1.0");
  const std::vector<std::string> expected = {"\nCouldn't read sample workboo"};
  EXPECT_EQ(debug.lines, expected);
}

TEST(LoadAddinConfig, MissingVersion_StaysEmptyQuietly) {
  FakeConfiguration source;
  FakeDebugOutput debug;
  source.values["SampleWorkBook"] = "book.xlt";

  EXPECT_EQ(LoadAddinConfig(source, debug).versionText, "");
  EXPECT_TRUE(debug.lines.empty());
}

TEST(LoadAddinConfig, LongTexts_AreCutAtTheLimit) {
  FakeConfiguration source;
  FakeDebugOutput debug;
  const std::string longPath(kMaxConfigTextLength + 40, 'p');
  source.values["SampleWorkBook"] = longPath;
  source.values["Version"] = std::string(kMaxConfigTextLength, 'v');

  const AddinConfig config = LoadAddinConfig(source, debug);

  EXPECT_EQ(config.sampleWorkbookPath,
            longPath.substr(0, kMaxConfigTextLength));
  EXPECT_EQ(config.versionText.size(), kMaxConfigTextLength);
}

TEST(CheckInstanceProbe, SetsFlagOnlyWhileTheProbeIsExpected) {
  FakeDebugOutput debug;
  ForgetHostConnection();
  g_bOkayToSetIFlag = false;

  EXPECT_EQ(CheckInstanceProbe(debug), 1);
  EXPECT_FALSE(g_bInstanceFlag);

  g_bOkayToSetIFlag = true;
  EXPECT_EQ(CheckInstanceProbe(debug), 1);
  g_bOkayToSetIFlag = false;
  EXPECT_TRUE(g_bInstanceFlag);

  const std::vector<std::string> expected = {
      "CheckInstance\n", "g_bOkayToSetIFlag = false\n", "CheckInstance\n",
      "g_bOkayToSetIFlag = true\n"};
  EXPECT_EQ(debug.lines, expected);
  ForgetHostConnection();
  EXPECT_FALSE(g_bInstanceFlag);
}

}  // namespace
}  // namespace marrowfield
