// The web address the installer opens after an install or a removal: the
// product site, the event's query, and the user's text as the value of
// "user=".

#ifndef MARROWFIELD_SETUP_INSTALLER_ADDRESS_H_
#define MARROWFIELD_SETUP_INSTALLER_ADDRESS_H_

#include <string>

namespace marrowfield {

constexpr const char* kInstallQuery = "?q=installation&user=";
constexpr const char* kUninstallQuery = "?q=un_installation&user=";

// |text| with every byte other than the unreserved ones of a web address
// (letters, digits, "-", ".", "_", "~") written as "%" and two upper-case
// hex digits, so that a space, "&", "#" or "=" in it stays part of the
// value.
std::string PercentEncode(const std::string& text);

// |site| followed directly by |query| and the encoded |user|. Grows with
// the text: a long user text is neither cut nor refused.
std::string InstallerAddress(const std::string& site, const char* query,
                             const std::string& user);

}  // namespace marrowfield

#endif  // MARROWFIELD_SETUP_INSTALLER_ADDRESS_H_
