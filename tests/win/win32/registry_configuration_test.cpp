// RegistryConfiguration against Wine's real registry: values are written
// under a key of the test's own and read back through the adapter.

#include "registry_configuration.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace marrowfield {
namespace {

// A key of each test's own, so tests may run side by side.
std::string TestKey() {
  return std::string("SOFTWARE\\Marrowfield Tests\\") +
         ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

class RegistryConfigurationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, keyPath_.c_str());
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr,
                              0, KEY_ALL_ACCESS, nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteTreeA(HKEY_CURRENT_USER, keyPath_.c_str());
  }

  // Stores |bytes| bytes of |text| (with or without its terminator).
  void SetString(const char* name, const std::string& text, DWORD bytes) {
    ASSERT_EQ(
        RegSetValueExA(key_, name, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()), bytes),
        ERROR_SUCCESS);
  }
  void SetString(const char* name, const std::string& text) {
    SetString(name, text, static_cast<DWORD>(text.size() + 1));
  }

  const std::string keyPath_ = TestKey();
  HKEY key_ = nullptr;
  RegistryConfiguration source_{keyPath_};
};

TEST_F(RegistryConfigurationTest, ReadsStringValues) {
  SetString("SampleWorkBook", "C:\\Samples\\names.xlt");
  SetString("Version", "1.0");
  std::string text;
  ASSERT_TRUE(source_.ReadText("SampleWorkBook", &text));
  EXPECT_EQ(text, "C:\\Samples\\names.xlt");
  ASSERT_TRUE(source_.ReadText("Version", &text));
  EXPECT_EQ(text, "1.0");
}

TEST_F(RegistryConfigurationTest, MissingValueOrKey_ReadsAsAbsent) {
  std::string text = "unchanged";
  EXPECT_FALSE(source_.ReadText("Version", &text));
  RegistryConfiguration noKey("SOFTWARE\\Marrowfield Tests\\No Such Key");
  EXPECT_FALSE(noKey.ReadText("Version", &text));
  EXPECT_EQ(text, "unchanged");
}

TEST_F(RegistryConfigurationTest, NumberValue_ReadsAsAbsent) {
  const DWORD number = 7;
  ASSERT_EQ(
      RegSetValueExA(key_, "Version", 0, REG_DWORD,
                     reinterpret_cast<const BYTE*>(&number), sizeof number),
      ERROR_SUCCESS);
  std::string text;
  EXPECT_FALSE(source_.ReadText("Version", &text));
}

TEST_F(RegistryConfigurationTest, UnterminatedValue_ReadsOnlyItsBytes) {
  SetString("Version", "2.5", 3);
  std::string text;
  ASSERT_TRUE(source_.ReadText("Version", &text));
  EXPECT_EQ(text, "2.5");
}

TEST_F(RegistryConfigurationTest, ValuesUpTo259Characters_Fit) {
  const std::string longest(259, 'x');
  SetString("SampleWorkBook", longest);
  SetString("Version", longest + "y");
  std::string text;
  ASSERT_TRUE(source_.ReadText("SampleWorkBook", &text));
  EXPECT_EQ(text, longest);
  EXPECT_FALSE(source_.ReadText("Version", &text));
}

}  // namespace
}  // namespace marrowfield
