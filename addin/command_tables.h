// The fixed tables the add-in hands to the host: the three commands it
// registers and its menu on the worksheet menu bar, and the Find
// duplicates command and menu item that came after them. Trailing blanks
// are part of the texts.

#ifndef MARROWFIELD_ADDIN_COMMAND_TABLES_H_
#define MARROWFIELD_ADDIN_COMMAND_TABLES_H_

#include <array>

namespace marrowfield {

// One command, in the column order of the host's REGISTER function.
struct CommandRow {
  const char* procedure;     // exported name
  const char* typeText;      // "A": the host expects a boolean
  const char* functionText;  // name the host knows it by
  const char* argumentText;  // none
  const char* macroType;     // "2": a command, not a worksheet function
  const char* category;
};

constexpr std::array<CommandRow, 3> CommandTable = {{
    {"fMarrowfieldDialog", "A", "fMarrowfieldDialog", "", "2",
     "Marrowfield Add-In"},
    {"fMarrowfieldAbout", "A", "fMarrowfieldAbout", "", "2",
     "Marrowfield Add-In"},
    {"fMarrowfieldTest", "A", "fMarrowfieldTest", "", "2",
     "Marrowfield Add-In"},
}};

// The host's ADD.MENU layout: item text, command, shortcut, status-bar
// text, help reference. The first row is the menu itself.
constexpr int kMenuRows = 4;
constexpr int kMenuColumns = 5;
using MenuRow = std::array<const char*, kMenuColumns>;

constexpr std::array<MenuRow, kMenuRows> MenuTable = {{
    {"Mar&rowfield", "", "", "Marrowfield Search Tool ", ""},
    {"&Search", "fMarrowfieldDialog", "", "Search ", ""},
    {"A&bout", "fMarrowfieldAbout", "", "About Marrowfield", ""},
    {"&Marrowfield Test", "fMarrowfieldTest", "", "Sample Test", ""},
}};

// Find duplicates: registered after the three, its item added to the menu
// once the menu is made (ADD.COMMAND), before About, so right after
// Search. The three and their menu stay exactly as they were, so a host
// that knows them finds them unchanged.
constexpr CommandRow DuplicatesCommand = {
    "fMarrowfieldDuplicates", "A", "fMarrowfieldDuplicates", "", "2",
    "Marrowfield Add-In"};
constexpr MenuRow DuplicatesMenuItem = {"Find &duplicates...",
                                        "fMarrowfieldDuplicates", "",
                                        "Find duplicates ", ""};
constexpr const char* kDuplicatesItemBefore = "A&bout";

// Every command the add-in registers, in registration order.
constexpr std::array<CommandRow, 4> AllCommands = {
    {CommandTable[0], CommandTable[1], CommandTable[2], DuplicatesCommand}};

// Menu bar 10 is the host's worksheet menu bar.
constexpr double kWorksheetMenuBar = 10.0;
// The name under which the host finds the menu again.
constexpr const char* kMenuName = "Marrowfield";
// The name the host's add-in manager shows.
constexpr const char* kAddinDisplayName = "Marrowfield";

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_COMMAND_TABLES_H_
