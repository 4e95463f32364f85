// Guesses the delimiter of a delimited text from its first records, in the
// manner of Python's csv.Sniffer: the delimiter is the character that occurs
// the same number of times in (nearly) every record. Much of Europe writes
// "CSV" with semicolons, since the comma is its decimal mark, and Excel's
// "Unicode Text" uses tabs whatever the file is called.
#ifndef MARROWFIELD_CLI_DELIMITER_SNIFFER_H_
#define MARROWFIELD_CLI_DELIMITER_SNIFFER_H_

#include <string>
#include <string_view>

namespace marrowfield {

// The delimiters guessed among.
constexpr char kSniffedDelimiters[] = {',', '\t', ';'};

// Returns the delimiter of |text|: of comma, tab and semicolon, those found
// outside quotes equally often in at least nine records of ten (of the first
// twenty non-blank ones) qualify, |preferred| first, then in the order
// above. Returns |preferred| when none qualifies (a single column).
char SniffDelimiter(std::string_view text, char preferred);

// Returns the name of |delimiter| as a user knows it: "comma", "tab",
// "semicolon", or the character in quotes.
std::string DelimiterName(char delimiter);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_DELIMITER_SNIFFER_H_
