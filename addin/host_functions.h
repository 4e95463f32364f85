// The numbers of the host functions the add-in calls through Excel's
// callback library, and the return codes the library answers with. The
// numbers are Excel's published ones; the names are Excel's too.

#ifndef MARROWFIELD_ADDIN_HOST_FUNCTIONS_H_
#define MARROWFIELD_ADDIN_HOST_FUNCTIONS_H_

#include <cstdint>

namespace marrowfield {

// Flags that Excel ors into function numbers.
constexpr int32_t xlCommand = 0x8000;
constexpr int32_t xlSpecial = 0x4000;

// Functions only the callback library offers.
constexpr int32_t xlFree = 0 | xlSpecial;     // give back a host value
constexpr int32_t xlCoerce = 2 | xlSpecial;   // convert a value's type
constexpr int32_t xlGetName = 9 | xlSpecial;  // the add-in's full path
constexpr int32_t xlGetHwnd = 10 | xlSpecial;  // the host's main window

// Macro-sheet functions.
constexpr int32_t xlfSetName = 88;
constexpr int32_t xlfRegister = 149;
constexpr int32_t xlfAddMenu = 152;
constexpr int32_t xlfAddCommand = 153;
constexpr int32_t xlfDeleteMenu = 158;
constexpr int32_t xlfGetBar = 182;

// Commands.
constexpr int32_t xlcClose = 16 | xlCommand;
constexpr int32_t xlcNew = 119 | xlCommand;
constexpr int32_t xlcEcho = 141 | xlCommand;

// Return codes of Excel4 and Excel4v.
constexpr int32_t xlretSuccess = 0;
constexpr int32_t xlretAbort = 1;
constexpr int32_t xlretInvXlfn = 2;
constexpr int32_t xlretInvCount = 4;
constexpr int32_t xlretInvXloper = 8;
constexpr int32_t xlretStackOvfl = 16;
constexpr int32_t xlretFailed = 32;
constexpr int32_t xlretUncalced = 64;

static_assert(xlFree == 16384 && xlCoerce == 16386 && xlGetName == 16393 &&
                  xlGetHwnd == 16394,
              "callback-library function numbers");
static_assert(xlcClose == 32784 && xlcNew == 32887 && xlcEcho == 32909,
              "command numbers");

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_HOST_FUNCTIONS_H_
