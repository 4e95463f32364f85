// The host's value record, XLOPER, as Excel's callback library lays it out,
// with the type codes and error codes the add-in uses. Defined here with
// fixed-width types so that no Windows header is needed; the asserts at the
// end pin the layout for both 32-bit Excel (16-byte records) and 64-bit
// Excel (24-byte records), because a record of the wrong size would make
// every array of values handed to the host unreadable.

#ifndef MARROWFIELD_ADDIN_XLOPER_H_
#define MARROWFIELD_ADDIN_XLOPER_H_

#include <cstddef>
#include <cstdint>

namespace marrowfield {

// One rectangular reference (rows, columns of the old grid).
struct XLREF {
  uint16_t rwFirst;
  uint16_t rwLast;
  uint8_t colFirst;
  uint8_t colLast;
};

// Several references; really reftbl[count].
struct XLMREF {
  uint16_t count;
  XLREF reftbl[1];
};

struct XLOPER {
  union {
    // The host aligns the value part on 8 bytes on every platform; saying so
    // keeps 32-bit compilers that align doubles on 4 from shrinking it.
    alignas(8) double num;  // xltypeNum
    char* str;              // xltypeStr: length byte, then the characters
    uint16_t xbool;         // xltypeBool
    uint16_t err;           // xltypeErr
    int16_t w;              // xltypeInt
    struct {
      uint16_t count;  // always 1
      XLREF ref;
    } sref;  // xltypeSRef
    struct {
      XLMREF* lpmref;
      uintptr_t idSheet;
    } mref;  // xltypeRef
    struct {
      XLOPER* lparray;  // rows * columns values, row by row
      uint16_t rows;
      uint16_t columns;
    } array;  // xltypeMulti
    struct {
      union {
        int16_t level;
        int16_t tbctrl;
        uintptr_t idSheet;
      } valflow;
      uint16_t rw;
      uint8_t col;
      uint8_t xlflow;
    } flow;  // xltypeFlow
    struct {
      union {
        uint8_t* lpbData;
        void* hdata;
      } h;
      int32_t cbData;
    } bigdata;  // xltypeBigData
  } val;
  uint16_t xltype;
};

// Value types (the xltype field).
constexpr uint16_t xltypeNum = 0x0001;
constexpr uint16_t xltypeStr = 0x0002;
constexpr uint16_t xltypeBool = 0x0004;
constexpr uint16_t xltypeRef = 0x0008;
constexpr uint16_t xltypeErr = 0x0010;
constexpr uint16_t xltypeFlow = 0x0020;
constexpr uint16_t xltypeMulti = 0x0040;
constexpr uint16_t xltypeMissing = 0x0080;
constexpr uint16_t xltypeNil = 0x0100;
constexpr uint16_t xltypeSRef = 0x0400;
constexpr uint16_t xltypeInt = 0x0800;
constexpr uint16_t xltypeBigData = xltypeStr | xltypeInt;
// Ownership bits that may be or-ed into xltype.
constexpr uint16_t xlbitXLFree = 0x1000;
constexpr uint16_t xlbitDLLFree = 0x4000;

// The type without its ownership bits.
constexpr uint16_t BaseType(const XLOPER& value) {
  return static_cast<uint16_t>(value.xltype & ~(xlbitXLFree | xlbitDLLFree));
}

// Error codes (val.err of an xltypeErr value).
constexpr uint16_t xlerrNull = 0;
constexpr uint16_t xlerrDiv0 = 7;
constexpr uint16_t xlerrValue = 15;  // #VALUE!
constexpr uint16_t xlerrRef = 23;
constexpr uint16_t xlerrName = 29;
constexpr uint16_t xlerrNum = 36;
constexpr uint16_t xlerrNA = 42;  // #N/A

// The longest text a counted string can carry: its length is one byte.
constexpr std::size_t kMaxCountedLength = 255;

// Layout checks for the two pointer sizes Excel comes in.
constexpr bool kWide = sizeof(void*) == 8;
static_assert(sizeof(void*) == 4 || sizeof(void*) == 8,
              "Excel exists only for 32- and 64-bit pointers");
static_assert(sizeof(XLREF) == 6, "XLREF is three words");
static_assert(alignof(XLOPER) == 8, "the value part is 8-byte aligned");
static_assert(sizeof(XLOPER) == (kWide ? 24 : 16), "XLOPER size");
static_assert(offsetof(XLOPER, val) == 0, "value part first");
static_assert(offsetof(XLOPER, xltype) == (kWide ? 16 : 8), "type after it");
static_assert(offsetof(XLOPER, val.array.rows) == sizeof(void*),
              "array rows follow the array pointer");
static_assert(offsetof(XLOPER, val.array.columns) == sizeof(void*) + 2,
              "array columns follow the rows");
static_assert(offsetof(XLOPER, val.mref.idSheet) == sizeof(void*),
              "sheet id follows the reference pointer");
static_assert(offsetof(XLOPER, val.sref.ref) == 2, "reference after count");
static_assert(offsetof(XLOPER, val.bigdata.cbData) == sizeof(void*),
              "data length follows the data pointer");

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_XLOPER_H_
