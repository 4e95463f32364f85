// Which add-in file to give Excel. A 32-bit Excel cannot load a 64-bit XLL
// nor the other way round, so both are shipped side by side:
// MarrowfieldExcel.xll (64-bit) and MarrowfieldExcel32.xll (32-bit). The
// installer is given one of them and installs the one that matches the
// bitness of the Excel it started.

#ifndef MARROWFIELD_SETUP_ADDIN_CHOICE_H_
#define MARROWFIELD_SETUP_ADDIN_CHOICE_H_

#include <stdexcept>
#include <string>

#include "setup_system.h"

namespace marrowfield {

// A failure of the installer's own (not a host call): its text is the one
// line reported.
class SetupFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The file beside |path| for |bitness|: for 32 the name gains "32" before
// its extension (unless it ends so already), for 64 it loses it.
std::string CounterpartAddinPath(const std::string& path, int bitness);

// The add-in file for an Excel of |excelBitness| (0: not known), given
// |path|: |path| itself when its bitness matches (or Excel's is not known),
// else its counterpart when that matches. Throws SetupFailure saying which
// file is missing or does not match.
std::string ChooseAddinFile(const std::string& path, int excelBitness,
                            SetupSystem& system);

// The file names the add-in may have in Excel's add-in list.
bool IsAddinFileName(const std::string& name);

}  // namespace marrowfield

#endif  // MARROWFIELD_SETUP_ADDIN_CHOICE_H_
