// The fake host's Excel12 side and its sheets. Excel12 answers the
// functions the add-in calls through it (xlGetName, REGISTER, xlCoerce,
// xlFree) with XLOPER12 values and UTF-16 strings; references of either
// interface read the fake's cells. Every call takes the fake's lock:
// thread-safe worksheet functions call in from several threads at once.

#include <algorithm>
#include <cstring>
#include <utility>

#include "fake_excel.h"
#include "host_functions.h"
#include "wide_text.h"

namespace marrowfield {
namespace {

uint64_t CellKey(uintptr_t sheet, int32_t row, int32_t column) {
  return (static_cast<uint64_t>(sheet) << 40) |
         (static_cast<uint64_t>(static_cast<uint32_t>(row)) << 16) |
         static_cast<uint64_t>(static_cast<uint16_t>(column));
}

std::string WideText(const XLOPER12& value) {
  if (BaseType(value) != xltypeStr || value.val.str == nullptr) return {};
  return Utf8FromUtf16(value.val.str + 1, value.val.str[0]);
}

// A whole area must lie on the grid; Excel never hands out more.
bool OnGrid(const XLREF12& area) {
  return area.rwFirst >= 0 && area.rwFirst <= area.rwLast &&
         area.rwLast < kMaxSheetRows && area.colFirst >= 0 &&
         area.colFirst <= area.colLast && area.colLast < kMaxSheetColumns;
}

// Memory for one array and its strings.
template <typename Value, typename Text>
struct Block {
  std::vector<Value> cells;
  std::vector<Text> texts;
};

// The cells' values as the host hands them out: strings counted and made
// by |encode|, empty cells nil.
template <typename Value, typename Text, typename Encode>
std::shared_ptr<Block<Value, Text>> MakeBlock(
    const std::vector<const FakeExcel::Cell*>& cells, Encode encode) {
  auto block = std::make_shared<Block<Value, Text>>();
  block->cells.resize(cells.size());
  block->texts.reserve(cells.size());
  for (std::size_t i = 0; i < cells.size(); ++i) {
    Value& value = block->cells[i];
    const FakeExcel::Cell* cell = cells[i];
    if (cell == nullptr) {
      value.xltype = xltypeNil;
    } else if (cell->type == xltypeStr) {
      block->texts.push_back(encode(cell->text));
      value.val.str = block->texts.back().data();
      value.xltype = xltypeStr;
    } else if (cell->type == xltypeErr) {
      value.val.err = static_cast<decltype(value.val.err)>(cell->number);
      value.xltype = xltypeErr;
    } else if (cell->type == xltypeBool) {
      value.val.xbool =
          static_cast<decltype(value.val.xbool)>(cell->number != 0);
      value.xltype = xltypeBool;
    } else {
      value.val.num = cell->number;
      value.xltype = xltypeNum;
    }
  }
  return block;
}

// A counted UTF-16 string of at most 32 767 characters.
std::u16string CountedWide(const std::string& utf8) {
  std::u16string text = Utf16FromUtf8(utf8);
  if (text.size() > kMaxWideLength) text.resize(kMaxWideLength);
  text.insert(text.begin(), static_cast<char16_t>(text.size()));
  return text;
}

// A counted byte string: Excel4 strings hold at most 255 bytes.
std::string CountedNarrow(const std::string& text) {
  std::string counted = text.substr(0, kMaxCountedLength);
  counted.insert(counted.begin(), static_cast<char>(counted.size()));
  return counted;
}

}  // namespace

void FakeExcel::SetCell(uintptr_t sheet, int32_t row, int32_t column,
                        Cell cell) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  cells_[CellKey(sheet, row, column)] = std::move(cell);
}

void FakeExcel::SetSheetClosed(uintptr_t sheet, bool closed) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  closedSheets_.erase(
      std::remove(closedSheets_.begin(), closedSheets_.end(), sheet),
      closedSheets_.end());
  if (closed) closedSheets_.push_back(sheet);
}

bool FakeExcel::ReferencedCells(uint16_t, uintptr_t sheet, const XLREF12& area,
                                std::vector<const Cell*>* cells, int32_t* rows,
                                int32_t* columns) const {
  if (!OnGrid(area)) return false;
  for (uintptr_t closed : closedSheets_) {
    if (closed == sheet) return false;
  }
  *rows = area.rwLast - area.rwFirst + 1;
  *columns = area.colLast - area.colFirst + 1;
  cells->clear();
  cells->reserve(static_cast<std::size_t>(*rows) *
                 static_cast<std::size_t>(*columns));
  for (int32_t row = area.rwFirst; row <= area.rwLast; ++row) {
    for (int32_t column = area.colFirst; column <= area.colLast; ++column) {
      const auto found = cells_.find(CellKey(sheet, row, column));
      cells->push_back(found == cells_.end() ? nullptr : &found->second);
    }
  }
  return true;
}

int32_t FakeExcel::Answer12(int32_t function, XLOPER12* result, int32_t count,
                            XLOPER12* const* args) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  calls12_.push_back(function);
  if (!excel12_) return xlretFailed;
  if (forcedCode_ != 0) return forcedCode_;
  if (count < 0 || count > 255) return xlretInvCount;
  for (int32_t i = 0; i < count; ++i) {
    if (args == nullptr || args[i] == nullptr) return xlretInvXloper;
  }
  switch (function) {
    case xlFree:
      return Free12(count, args);
    case xlCoerce:
      return Coerce12(result, count, args);
    case xlGetName:
      if (result != nullptr) *result = HandOutWideString(addinPath_);
      return xlretSuccess;
    case xlGetHwnd:
      if (result != nullptr) {
        *result = XLOPER12{};
        result->val.w = static_cast<int32_t>(mainWindow_ & 0xFFFFFFFF);
        result->xltype = xltypeInt;
      }
      return xlretSuccess;
    case xlfRegister: {
      std::vector<std::string> texts;
      double macroType = -1;
      bool valid = count >= 2;
      for (int32_t i = 0; i < count; ++i) {
        const uint32_t type = BaseType(*args[i]);
        if (i == 5 && type == xltypeNum) {
          macroType = args[i]->val.num;
          texts.emplace_back();
        } else if (type == xltypeStr) {
          texts.push_back(WideText(*args[i]));
        } else if (type == xltypeMissing && i >= 2) {
          texts.emplace_back();
        } else {
          valid = false;
        }
      }
      const double id =
          valid ? AcceptRegistration(std::move(texts), macroType, true) : -1;
      if (!valid) ++refused_;
      if (result != nullptr) {
        *result = XLOPER12{};
        if (id < 0) {
          result->val.err = xlerrValue;
          result->xltype = xltypeErr;
        } else {
          result->val.num = id;
          result->xltype = xltypeNum;
        }
      }
      return xlretSuccess;
    }
    default:
      return xlretInvXlfn;
  }
}

int32_t FakeExcel::Coerce12(XLOPER12* result, int32_t count,
                            XLOPER12* const* args) {
  if (count < 1) return xlretInvCount;
  const XLOPER12& source = *args[0];
  const uint32_t type = BaseType(source);
  uint32_t wanted = 0;
  if (count >= 2 && BaseType(*args[1]) == xltypeInt) {
    wanted = static_cast<uint32_t>(args[1]->val.w);
  }
  if (type != xltypeSRef && type != xltypeRef) {
    // The add-in only reads references through xlCoerce.
    return xlretInvXloper;
  }
  ++coercions_;
  XLREF12 area{};
  uintptr_t sheet = 1;
  if (type == xltypeSRef) {
    area = source.val.sref.ref;
  } else {
    if (source.val.mref.lpmref == nullptr ||
        source.val.mref.lpmref->count != 1) {
      return xlretInvXloper;
    }
    area = source.val.mref.lpmref->reftbl[0];
    sheet = source.val.mref.idSheet;
  }
  std::vector<const Cell*> cells;
  int32_t rows = 0;
  int32_t columns = 0;
  if (!ReferencedCells(xltypeRef, sheet, area, &cells, &rows, &columns)) {
    return xlretUncalced;
  }
  if (result == nullptr) return xlretSuccess;
  if ((wanted & xltypeMulti) != 0 || cells.size() > 1) {
    *result = HandOutWideMulti(cells, rows, columns);
    return xlretSuccess;
  }
  // One cell as its own value.
  const Cell* cell = cells.front();
  *result = XLOPER12{};
  if (cell == nullptr) {
    result->xltype = xltypeNil;
  } else if (cell->type == xltypeStr) {
    *result = HandOutWideString(cell->text);
  } else if (cell->type == xltypeErr) {
    result->val.err = static_cast<int32_t>(cell->number);
    result->xltype = xltypeErr;
  } else if (cell->type == xltypeBool) {
    result->val.xbool = cell->number != 0;
    result->xltype = xltypeBool;
  } else {
    result->val.num = cell->number;
    result->xltype = xltypeNum;
  }
  return xlretSuccess;
}

int32_t FakeExcel::Free12(int32_t count, XLOPER12* const* args) {
  for (int32_t i = 0; i < count; ++i) GiveBack(*args[i]);
  return xlretSuccess;
}

XLOPER12 FakeExcel::HandOutWideString(const std::string& utf8) {
  auto memory = std::make_shared<std::u16string>(CountedWide(utf8));
  XLOPER12 value{};
  value.val.str = memory->data();
  value.xltype = xltypeStr;
  handedOut_.emplace(value.val.str, std::move(memory));
  return value;
}

XLOPER12 FakeExcel::HandOutWideMulti(const std::vector<const Cell*>& cells,
                                     int32_t rows, int32_t columns) {
  auto block = MakeBlock<XLOPER12, std::u16string>(cells, CountedWide);
  XLOPER12 multi{};
  multi.val.array.lparray = block->cells.data();
  multi.val.array.rows = rows;
  multi.val.array.columns = columns;
  multi.xltype = xltypeMulti;
  handedOut_.emplace(multi.val.array.lparray, std::move(block));
  return multi;
}

XLOPER FakeExcel::HandOutMulti(const std::vector<const Cell*>& cells,
                               int32_t rows, int32_t columns) {
  auto block = MakeBlock<XLOPER, std::string>(cells, CountedNarrow);
  XLOPER multi{};
  multi.val.array.lparray = block->cells.data();
  multi.val.array.rows = static_cast<uint16_t>(rows);
  multi.val.array.columns = static_cast<uint16_t>(columns);
  multi.xltype = xltypeMulti;
  handedOut_.emplace(multi.val.array.lparray, std::move(block));
  return multi;
}

}  // namespace marrowfield
