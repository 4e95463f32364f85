// Compiled, never run: the CI compiles this for 32-bit and for 64-bit
// Windows, so the layout asserts in xloper.h are checked for both pointer
// sizes Excel comes in, and the temporary pool is seen to hold 64 records
// of the real size on each.

#include "host_callback_library.h"
#include "temp_value_pool.h"
#include "xloper.h"
#include "xloper12.h"

namespace marrowfield {

static_assert(sizeof(XLOPER) == (sizeof(void*) == 8 ? 24 : 16),
              "16-byte records on 32-bit Excel, 24-byte on 64-bit");
static_assert(sizeof(TempValuePool) >= 64 * sizeof(XLOPER),
              "the pool holds 64 records of the real size");
static_assert(sizeof(XLOPER[20]) == 20 * (sizeof(void*) == 8 ? 24 : 16),
              "a menu table of 20 values is 20 records, unpadded");

static_assert(sizeof(XLOPER12) == 32,
              "32-byte wide records on both bitnesses");
static_assert(sizeof(XLOPER12[4]) == 4 * 32,
              "a column of wide results is unpadded");

}  // namespace marrowfield
