// RunInstaller: MarrowfieldSetup's whole run. With two or more arguments
// it installs the add-in file named by the first (the second being the
// user's text for the web page); with fewer it removes the add-in (the one
// argument, if any, being the user's text). The host does the work: the
// installer starts it, has its add-in list add and switch on the add-in
// (or switch it off), opens the product's web page and quits the host.

#ifndef MARROWFIELD_SETUP_INSTALLER_H_
#define MARROWFIELD_SETUP_INSTALLER_H_

#include <ostream>
#include <string>
#include <vector>

#include "automation_port.h"
#include "setup_system.h"
#include "web_page_opener.h"

namespace marrowfield {

// |arguments| are the command line's arguments after the program's name.
// Installing gives Excel the add-in file of Excel's own bitness (the one
// named or the one beside it, see addin_choice.h) and writes the add-in's
// settings; removing finds the add-in by title or by file name and deletes
// them. Writes the progress text and, on failure, ReportComError's five
// lines (or one line for a missing or mismatched add-in file) to |out|.
// Returns 0 on success and 1 after a report; the started Excel is told to
// quit in either case, every host object is released once before it
// returns, and nothing is thrown.
int RunInstaller(const std::vector<std::string>& arguments,
                 AutomationPort& port, WebPageOpener& shell,
                 SetupSystem& system, std::ostream& out) noexcept;

}  // namespace marrowfield

#endif  // MARROWFIELD_SETUP_INSTALLER_H_
