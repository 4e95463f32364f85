// The host's wide value record, XLOPER12, as Excel 2007 and later lay it
// out for the Excel12 interface: 32-bit row and column numbers, UTF-16
// strings counted by their first character, and a 32-bit type field. Kept
// beside XLOPER with fixed-width types and no Windows header; the asserts
// pin the layout, which is 32 bytes for both 32- and 64-bit Excel.

#ifndef MARROWFIELD_ADDIN_XLOPER12_H_
#define MARROWFIELD_ADDIN_XLOPER12_H_

#include <cstddef>
#include <cstdint>

#include "xloper.h"

namespace marrowfield {

// One rectangular reference in the big grid.
struct XLREF12 {
  int32_t rwFirst;
  int32_t rwLast;
  int32_t colFirst;
  int32_t colLast;
};

// Several references; really reftbl[count].
struct XLMREF12 {
  uint16_t count;
  XLREF12 reftbl[1];
};

struct XLOPER12 {
  union {
    alignas(8) double num;  // xltypeNum
    char16_t* str;          // xltypeStr: length character, then the text
    int32_t xbool;          // xltypeBool
    int32_t err;            // xltypeErr
    int32_t w;              // xltypeInt
    struct {
      uint16_t count;  // always 1
      XLREF12 ref;
    } sref;  // xltypeSRef
    struct {
      XLMREF12* lpmref;
      uintptr_t idSheet;
    } mref;  // xltypeRef
    struct {
      XLOPER12* lparray;  // rows * columns values, row by row
      int32_t rows;
      int32_t columns;
    } array;  // xltypeMulti
    struct {
      union {
        int32_t level;
        int32_t tbctrl;
        uintptr_t idSheet;
      } valflow;
      int32_t rw;
      int32_t col;
      uint8_t xlflow;
    } flow;  // xltypeFlow
    struct {
      union {
        uint8_t* lpbData;
        void* hdata;
      } h;
      long cbData;
    } bigdata;  // xltypeBigData
  } val;
  uint32_t xltype;
};

// The type without its ownership bits (the same type codes as XLOPER's).
constexpr uint32_t BaseType(const XLOPER12& value) {
  return value.xltype & ~static_cast<uint32_t>(xlbitXLFree | xlbitDLLFree);
}

// True for the value types that carry host memory, which goes back to the
// host with xlFree: strings, references, arrays and binary data. For
// XLOPER and XLOPER12 alike.
template <typename Value>
constexpr bool CarriesHostMemory(const Value& value) {
  switch (BaseType(value)) {
    case xltypeStr:
    case xltypeRef:
    case xltypeMulti:
    case xltypeBigData:
      return true;
    default:
      return false;
  }
}

// The longest text an XLOPER12 string carries.
constexpr std::size_t kMaxWideLength = 32767;
// The most rows and columns of a worksheet since Excel 2007.
constexpr int32_t kMaxSheetRows = 1048576;
constexpr int32_t kMaxSheetColumns = 16384;

static_assert(sizeof(XLREF12) == 16, "XLREF12 is four 32-bit numbers");
static_assert(offsetof(XLMREF12, reftbl) == 4, "references follow count");
static_assert(alignof(XLOPER12) == 8, "the value part is 8-byte aligned");
static_assert(sizeof(XLOPER12) == 32, "XLOPER12 size on both bitnesses");
static_assert(offsetof(XLOPER12, val) == 0, "value part first");
static_assert(offsetof(XLOPER12, xltype) == 24, "type after it");
static_assert(offsetof(XLOPER12, val.sref.ref) == 4, "reference after count");
static_assert(offsetof(XLOPER12, val.array.rows) == sizeof(void*),
              "array rows follow the array pointer");
static_assert(offsetof(XLOPER12, val.array.columns) == sizeof(void*) + 4,
              "array columns follow the rows");
static_assert(offsetof(XLOPER12, val.mref.idSheet) == sizeof(void*),
              "sheet id follows the reference pointer");

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_XLOPER12_H_
