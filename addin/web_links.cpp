// The addresses built from the configured sites, and opening them with the
// user's default programs.

#include "shell.h"
#include "web_addresses.h"

namespace marrowfield {

std::string UsageHelpAddress() {
  return std::string(productSiteUrl) + "?q=usage_help";
}

std::string BugReportAddress() {
  return std::string(productSiteUrl) + "?q=report_bug_excelplugin";
}

std::string FeedbackAddress(const std::string& userMail) {
  return std::string(productSiteUrl) + "?q=contact_us&Subject=Feedback-" +
         userMail;
}

std::string SupportMailLink() {
  return std::string("mailto:") + supportMailAddress;
}

std::string OpenFailureMessage(const std::string& address) {
  return "Unable to open the following url: \n\n " + address +
         " \n\nTo continue, open your browser and type \nthe above url and "
         "press enter.";
}

void OpenWebPage(Shell& shell, const std::string& address) {
  // Values of 32 and below are the shell's error codes (no program for the
  // address, file not found, out of memory, ...).
  if (shell.OpenAddress(address) > 32) return;
  shell.ShowNotice(OpenFailureMessage(address));
}

}  // namespace marrowfield
