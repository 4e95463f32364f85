// The installer's web address: the user's text percent-encoded into the
// query, whatever its length.

#include "installer_address.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace marrowfield {
namespace {

// Undoes PercentEncode, the slow obvious way, to compare with.
std::string Decode(const std::string& encoded) {
  std::string text;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] == '%' && i + 2 < encoded.size()) {
      text +=
          static_cast<char>(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      text += encoded[i];
    }
  }
  return text;
}

struct EncodingCase {
  const char* name;
  std::string text;
  std::string encoded;
};

// Test names in ctest show the case, not its bytes.
void PrintTo(const EncodingCase& c, std::ostream* out) { *out << c.name; }

class PercentEncodeTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(PercentEncodeTest, EncodesAllButUnreservedBytes) {
  EXPECT_EQ(PercentEncode(GetParam().text), GetParam().encoded);
  EXPECT_EQ(Decode(PercentEncode(GetParam().text)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PercentEncodeTest,
    ::testing::Values(
        EncodingCase{"Empty", "", ""},
        EncodingCase{"Unreserved", "Az09-._~", "Az09-._~"},
        EncodingCase{"Space", "Jane Doe", "Jane%20Doe"},
        EncodingCase{"QueryBreakers", "a&b=c#d?e", "a%26b%3Dc%23d%3Fe"},
        EncodingCase{"Percent", "100%", "100%25"},
        EncodingCase{"HighBytes", "caf\xE9", "caf%E9"},
        EncodingCase{"Utf8KeptWhole", "\xC3\xA9", "%C3%A9"},
        EncodingCase{"Controls", std::string("a\0b\n", 4), "a%00b%0A"}),
    [](const ::testing::TestParamInfo<EncodingCase>& info) {
      return std::string(info.param.name);
    });

TEST(InstallerAddressTest, AppendsQueryAndEncodedUserToSite) {
  EXPECT_EQ(InstallerAddress("https://site.example", kInstallQuery, "J D&x"),
            std::string("https://site.example") + kInstallQuery + "J%20D%26x");
}

TEST(InstallerAddressTest, EmptyUserLeavesAddressEndingInUserEquals) {
  const std::string address =
      InstallerAddress("https://site.example", kUninstallQuery, "");
  EXPECT_EQ(address.substr(address.size() - 5), "user=");
}

TEST(InstallerAddressTest, LongTextIsNeitherCutNorOverrun) {
  std::string user;
  while (user.size() < 5000) user += "Ann & Bob \xC3\xA9 ";
  const std::string address =
      InstallerAddress("https://site.example", kInstallQuery, user);
  const std::string prefix =
      std::string("https://site.example") + kInstallQuery;
  ASSERT_EQ(address.compare(0, prefix.size(), prefix), 0);
  const std::string value = address.substr(prefix.size());
  EXPECT_EQ(Decode(value), user);
  EXPECT_EQ(value.find_first_of(" &"), std::string::npos);
}

}  // namespace
}  // namespace marrowfield
