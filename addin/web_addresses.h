/* The add-in's web addresses: the product site, the maker's site and the
 * support mail address, kept here and nowhere else. The resource script
 * includes this header too (it shows the addresses as the About dialog's
 * link texts), so the header stays plain C for it. The host names are
 * placeholders in the reserved ".example" domain until the product has
 * real ones; kept short, since the About dialog's link texts have fixed
 * widths. */
#ifndef MARROWFIELD_ADDIN_WEB_ADDRESSES_H_
#define MARROWFIELD_ADDIN_WEB_ADDRESSES_H_

/* A host's address without a path: queries are appended directly. */
#define MARROWFIELD_PRODUCT_SITE_URL "https://www.marrowfield.example"
#define MARROWFIELD_MAKER_SITE_URL "https://mlabs.example"
#define MARROWFIELD_SUPPORT_MAIL_ADDRESS "help@marrowfield.example"

#ifndef RC_INVOKED
#ifdef __cplusplus

#include <string>

namespace marrowfield {

constexpr const char* productSiteUrl = MARROWFIELD_PRODUCT_SITE_URL;
constexpr const char* makerSiteUrl = MARROWFIELD_MAKER_SITE_URL;
constexpr const char* supportMailAddress = MARROWFIELD_SUPPORT_MAIL_ADDRESS;

// The product site's usage help ("Help" of the search dialog).
std::string UsageHelpAddress();
// The product site's bug report form ("Report a bug").
std::string BugReportAddress();
// The product site's contact form with the subject "Feedback-" followed by
// |userMail|. The add-in knows no user's mail, so it passes an empty one
// and the address ends in "Feedback-".
std::string FeedbackAddress(const std::string& userMail = "");
// "mailto:" and the support address (the About dialog's mail link).
std::string SupportMailLink();

}  // namespace marrowfield

#endif /* __cplusplus */
#endif /* RC_INVOKED */

#endif /* MARROWFIELD_ADDIN_WEB_ADDRESSES_H_ */
