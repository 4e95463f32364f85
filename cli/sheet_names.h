// Worksheet names as Excel treats them: compared without regard to letter
// case (in every script, not only A-Z), and quoted in a reference when they
// would otherwise not read as a sheet name.
#ifndef MARROWFIELD_CLI_SHEET_NAMES_H_
#define MARROWFIELD_CLI_SHEET_NAMES_H_

#include <string>
#include <string_view>

namespace marrowfield {

// Returns true when UTF-8 names |a| and |b| differ at most in letter case:
// ZOË and Zoë, ÉTÉ and été, ΑΘΗΝΑ and Αθηνα are the same sheet.
bool SameSheetNameIgnoringCase(std::string_view a, std::string_view b);

// Returns |name| as it must stand before "!" in a reference that can be
// pasted into Excel's Go To box: as it is when it is made of letters, digits,
// "_" and "." only and starts with a letter or "_"; otherwise in single
// quotes with inner quotes doubled. Names that read as a cell reference
// ('A1', 'XFD1048576') or an R1C1 reference ('R1C1', 'R', 'C3') or start
// with a digit ('2023') are quoted too.
std::string QuoteSheetName(const std::string& name);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_SHEET_NAMES_H_
