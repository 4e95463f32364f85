// The add-in's addresses and OpenWebPage's answer to the shell.

#include <gtest/gtest.h>

#include <string>

#include "fake_shell.h"
#include "shell.h"
#include "web_addresses.h"

namespace marrowfield {
namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(WebAddresses, SitesAreHostsWithoutPath) {
  for (const std::string site : {productSiteUrl, makerSiteUrl}) {
    const size_t scheme = site.find("://");
    ASSERT_NE(scheme, std::string::npos) << site;
    EXPECT_EQ(site.find('/', scheme + 3), std::string::npos) << site;
  }
  EXPECT_NE(std::string(supportMailAddress).find('@'), std::string::npos);
}

TEST(WebAddresses, QueriesFollowTheProductSiteDirectly) {
  const std::string site = productSiteUrl;
  EXPECT_EQ(UsageHelpAddress(), site + "?q=usage_help");
  EXPECT_EQ(BugReportAddress(), site + "?q=report_bug_excelplugin");
  EXPECT_EQ(FeedbackAddress(), site + "?q=contact_us&Subject=Feedback-");
  EXPECT_TRUE(EndsWith(FeedbackAddress(), "Feedback-"));
  EXPECT_EQ(FeedbackAddress("ann@example.org"),
            site + "?q=contact_us&Subject=Feedback-ann@example.org");
  EXPECT_EQ(SupportMailLink(), std::string("mailto:") + supportMailAddress);
}

TEST(OpenWebPage, ShellOpensIt_NothingShown) {
  FakeShell shell;
  shell.answer = 33;
  OpenWebPage(shell, "https://a.example");
  EXPECT_EQ(shell.opened, std::vector<std::string>{"https://a.example"});
  EXPECT_TRUE(shell.notices.empty());
}

TEST(OpenWebPage, ShellFails_ExplainsWithTheAddress) {
  for (intptr_t answer : {0, 2, 31, 32}) {
    FakeShell shell;
    shell.answer = answer;
    OpenWebPage(shell, "https://a.example/x");
    ASSERT_EQ(shell.notices.size(), 1u) << answer;
    EXPECT_EQ(shell.notices[0],
              "Unable to open the following url: \n\n https://a.example/x "
              "\n\nTo continue, open your browser and type \nthe above url "
              "and press enter.");
  }
}

}  // namespace
}  // namespace marrowfield
