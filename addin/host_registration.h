// The add-in's registration and menu calls to the host, one function per
// host request. Every call goes through CallHost; the host's return codes
// are not acted on except where a decision depends on the answer.

#ifndef MARROWFIELD_ADDIN_HOST_REGISTRATION_H_
#define MARROWFIELD_ADDIN_HOST_REGISTRATION_H_

#include "command_tables.h"
#include "xloper.h"

namespace marrowfield {

// Registers |row| as a command of the module whose path |ownPath| holds:
// REGISTER with the path and the row's six columns, seven arguments. When
// |answer| is given it receives the host's answer (the register id, or an
// error value) if the host answered with a value that needs no xlFree;
// otherwise it is left as it was.
void RegisterCommand(const XLOPER& ownPath, const CommandRow& row,
                     XLOPER* answer = nullptr);

enum class MenuState {
  kPresent,  // the host found the menu on the worksheet menu bar
  kMissing,  // the host answered with an error value: no such menu
  kUnknown,  // the host failed the request
};

// Asks the host (GET.BAR 10, "Marrowfield", 0) whether the menu is there.
MenuState FindMenu();

// Puts the menu of MenuTable on the worksheet menu bar, before "Help".
void AddMenu();

// Adds |item| to the add-in's menu on the worksheet menu bar, before the
// item |before| (ADD.COMMAND 10, "Marrowfield", the 1 x 5 row, |before|).
void AddMenuItem(const MenuRow& item, const char* before);

// Takes the menu off the worksheet menu bar.
void DeleteMenu();

// Removes the host's defined name |name|.
void RemoveDefinedName(const char* name);

// True when the counted string |requested| names |procedure|: same length,
// same characters ignoring ASCII case. False for anything but a string.
bool NamesProcedure(const XLOPER* requested, const char* procedure);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_HOST_REGISTRATION_H_
