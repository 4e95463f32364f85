// Argument reading and result ownership for both record kinds. What
// differs between Excel4 and Excel12 (text form, host call, size limits)
// lives in one traits struct per record; the rest is written once.

#include "sheet_function_values.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "call_host12.h"
#include "host_functions.h"
#include "host_value.h"
#include "wide_text.h"

namespace marrowfield {
namespace {

template <typename Value>
struct Record;

template <>
struct Record<XLOPER> {
  using Char = char;
  using Holder = HostValue;
  static constexpr std::size_t kMaxText = kMaxCountedLength;
  static constexpr std::size_t kMaxRows = 65535;
  static constexpr std::size_t kMaxColumns = 256;

  static std::string Text(const XLOPER& value) {
    if (value.val.str == nullptr) return {};
    return std::string(value.val.str + 1,
                       static_cast<unsigned char>(value.val.str[0]));
  }
  static std::string Encode(const std::string& utf8) { return utf8; }
  static std::size_t Rows(const XLOPER& value) { return value.val.array.rows; }
  static std::size_t Columns(const XLOPER& value) {
    return value.val.array.columns;
  }
  static XLOPER Integer(int16_t number) {
    XLOPER value{};
    value.val.w = number;
    value.xltype = xltypeInt;
    return value;
  }
};

template <>
struct Record<XLOPER12> {
  using Char = char16_t;
  using Holder = HostValue12;
  static constexpr std::size_t kMaxText = kMaxWideLength;
  static constexpr std::size_t kMaxRows = kMaxSheetRows;
  static constexpr std::size_t kMaxColumns = kMaxSheetColumns;

  static std::string Text(const XLOPER12& value) {
    if (value.val.str == nullptr) return {};
    return Utf8FromUtf16(value.val.str + 1, value.val.str[0]);
  }
  static std::u16string Encode(const std::string& utf8) {
    return Utf16FromUtf8(utf8);
  }
  static std::size_t Rows(const XLOPER12& value) {
    return value.val.array.rows < 0 ? 0 : value.val.array.rows;
  }
  static std::size_t Columns(const XLOPER12& value) {
    return value.val.array.columns < 0 ? 0 : value.val.array.columns;
  }
  static XLOPER12 Integer(int16_t number) {
    XLOPER12 value{};
    value.val.w = number;
    value.xltype = xltypeInt;
    return value;
  }
};

template <typename Value>
bool IsReference(const Value& value) {
  return BaseType(value) == xltypeRef || BaseType(value) == xltypeSRef;
}

template <typename Value>
SheetArgument ReadScalar(const Value& value) {
  SheetArgument argument;
  switch (BaseType(value)) {
    case xltypeStr:
      argument.kind = SheetArgument::Kind::kText;
      argument.text = Record<Value>::Text(value);
      break;
    case xltypeNum:
      argument.kind = SheetArgument::Kind::kNumber;
      argument.number = value.val.num;
      break;
    case xltypeInt:
      argument.kind = SheetArgument::Kind::kNumber;
      argument.number = value.val.w;
      break;
    case xltypeBool:
      argument.kind = SheetArgument::Kind::kBoolean;
      break;
    case xltypeErr:
      argument.kind = SheetArgument::Kind::kError;
      argument.error = static_cast<int32_t>(value.val.err);
      break;
    case xltypeNil:
      argument.kind = SheetArgument::Kind::kEmpty;
      break;
    case xltypeMulti: {
      const std::size_t cells =
          Record<Value>::Rows(value) * Record<Value>::Columns(value);
      if (cells == 1 && value.val.array.lparray != nullptr) {
        return ReadScalar(value.val.array.lparray[0]);
      }
      argument.kind = SheetArgument::Kind::kArray;
      break;
    }
    default:  // missing, and anything Excel does not pass to functions
      break;
  }
  return argument;
}

// Adds the text cells of a multi to |range|, rows outer.
template <typename Value>
void CollectTexts(const Value& multi, SheetRange* range) {
  const std::size_t cells =
      Record<Value>::Rows(multi) * Record<Value>::Columns(multi);
  if (multi.val.array.lparray == nullptr) return;
  range->texts.reserve(range->texts.size() + cells);
  for (std::size_t i = 0; i < cells; ++i) {
    const Value& cell = multi.val.array.lparray[i];
    if (BaseType(cell) != xltypeStr || cell.val.str == nullptr ||
        cell.val.str[0] == 0) {
      continue;
    }
    range->texts.push_back(Record<Value>::Text(cell));
  }
}

// Every cell of a multi into |grid|, texts as they are, "" for the rest.
template <typename Value>
void CollectGrid(const Value& multi, SheetGrid* grid) {
  grid->rows = Record<Value>::Rows(multi);
  grid->columns = Record<Value>::Columns(multi);
  if (multi.val.array.lparray == nullptr) {
    grid->rows = 0;
    grid->columns = 0;
    return;
  }
  const std::size_t cells = grid->rows * grid->columns;
  grid->cells.resize(cells);
  for (std::size_t i = 0; i < cells; ++i) {
    const Value& cell = multi.val.array.lparray[i];
    if (BaseType(cell) == xltypeStr && cell.val.str != nullptr) {
      grid->cells[i] = Record<Value>::Text(cell);
    }
  }
}

// Where a result and everything it points to live until Excel gives it
// back.
template <typename Value>
struct OwnedResult {
  Value value{};
  std::vector<Value> cells;
  std::vector<std::basic_string<typename Record<Value>::Char>> texts;
};

template <typename Value>
class OwnedResults {
 public:
  Value* Keep(std::unique_ptr<OwnedResult<Value>> result) {
    Value* value = &result->value;
    std::lock_guard<std::mutex> lock(mutex_);
    results_.emplace(value, std::move(result));
    return value;
  }
  void Release(Value* value) {
    std::unique_ptr<OwnedResult<Value>> released;
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = results_.find(value);
    if (found == results_.end()) return;
    released = std::move(found->second);
    results_.erase(found);
  }
  std::size_t size() {
    std::lock_guard<std::mutex> lock(mutex_);
    return results_.size();
  }

 private:
  std::mutex mutex_;
  std::unordered_map<const Value*, std::unique_ptr<OwnedResult<Value>>>
      results_;
};

template <typename Value>
OwnedResults<Value>& TheOwnedResults() {
  static OwnedResults<Value> results;
  return results;
}

// Points |value| at a new counted copy of |utf8| kept in |owner|; false
// when the text is too long for the record.
template <typename Value>
bool SetText(const std::string& utf8, Value* value, OwnedResult<Value>* owner) {
  auto text = Record<Value>::Encode(utf8);
  if (text.size() > Record<Value>::kMaxText) return false;
  const auto length = static_cast<typename Record<Value>::Char>(text.size());
  text.insert(text.begin(), length);
  owner->texts.push_back(std::move(text));
  *value = Value{};
  value->val.str = owner->texts.back().data();
  value->xltype = xltypeStr;
  return true;
}

template <typename Value>
void SetError(int32_t error, Value* value) {
  *value = Value{};
  value->val.err = static_cast<decltype(value->val.err)>(error);
  value->xltype = xltypeErr;
}

template <typename Value>
void Fill(const SheetAnswer& answer, OwnedResult<Value>* owner) {
  Value& value = owner->value;
  switch (answer.kind) {
    case SheetAnswer::Kind::kNumber:
      value = Value{};
      value.val.num = answer.number;
      value.xltype = xltypeNum;
      return;
    case SheetAnswer::Kind::kText:
      if (!SetText(answer.text, &value, owner)) SetError(xlerrValue, &value);
      return;
    case SheetAnswer::Kind::kError:
      SetError(answer.error, &value);
      return;
    case SheetAnswer::Kind::kColumn:
    case SheetAnswer::Kind::kGrid:
      break;
  }
  const std::size_t columns = answer.columns == 0 ? 1 : answer.columns;
  const std::size_t rows = answer.column.size() / columns;
  if (rows > Record<Value>::kMaxRows || columns > Record<Value>::kMaxColumns ||
      rows * columns != answer.column.size()) {
    SetError(xlerrValue, &value);
    return;
  }
  // Texts are kept in a vector whose elements must not move once cells
  // point at them.
  owner->texts.reserve(answer.column.size());
  owner->cells.resize(answer.column.size());
  for (std::size_t i = 0; i < answer.column.size(); ++i) {
    if (!SetText(answer.column[i], &owner->cells[i], owner)) {
      SetError(xlerrValue, &owner->cells[i]);
    }
  }
  value = Value{};
  value.val.array.lparray = owner->cells.data();
  value.val.array.rows = static_cast<decltype(value.val.array.rows)>(rows);
  value.val.array.columns =
      static_cast<decltype(value.val.array.columns)>(columns);
  value.xltype = xltypeMulti;
}

}  // namespace

template <typename Value>
SheetArgument ReadSheetArgument(const Value* value) {
  if (value == nullptr) return SheetArgument{};
  if (!IsReference(*value)) return ReadScalar(*value);
  Value source = *value;
  typename Record<Value>::Holder read;
  if (read.Call(xlCoerce, &source) != xlretSuccess) {
    SheetArgument failed;
    failed.kind = SheetArgument::Kind::kError;
    failed.error = xlerrValue;
    return failed;
  }
  return ReadScalar(read.value());
}

template <typename Value>
SheetRange ReadSheetRange(const Value* value) {
  SheetRange range;
  if (value == nullptr) {
    range.error = xlerrValue;
    return range;
  }
  switch (BaseType(*value)) {
    case xltypeMulti:
      CollectTexts(*value, &range);
      return range;
    case xltypeStr:
      if (value->val.str != nullptr && value->val.str[0] != 0) {
        range.texts.push_back(Record<Value>::Text(*value));
      }
      return range;
    case xltypeErr:
      range.error = static_cast<int32_t>(value->val.err);
      return range;
    case xltypeRef:
    case xltypeSRef:
      break;
    case xltypeMissing:
      range.error = xlerrValue;
      return range;
    default:  // a number, boolean or empty cell: no text to match
      return range;
  }
  Value source = *value;
  Value wanted = Record<Value>::Integer(xltypeMulti);
  typename Record<Value>::Holder read;
  if (read.Call(xlCoerce, &source, &wanted) != xlretSuccess) {
    range.error = xlerrValue;
    return range;
  }
  if (BaseType(read.value()) == xltypeMulti) {
    CollectTexts(read.value(), &range);
  } else if (BaseType(read.value()) == xltypeErr) {
    range.error = static_cast<int32_t>(read.value().val.err);
  } else {
    range.error = xlerrValue;
  }
  return range;
}

template <typename Value>
SheetGrid ReadSheetGrid(const Value* value) {
  SheetGrid grid;
  if (value == nullptr) {
    grid.error = xlerrValue;
    return grid;
  }
  switch (BaseType(*value)) {
    case xltypeMulti:
      CollectGrid(*value, &grid);
      return grid;
    case xltypeErr:
      grid.error = static_cast<int32_t>(value->val.err);
      return grid;
    case xltypeRef:
    case xltypeSRef:
      break;
    case xltypeMissing:
      grid.error = xlerrValue;
      return grid;
    default:  // one value: a grid of one cell
      grid.rows = 1;
      grid.columns = 1;
      grid.cells.emplace_back(BaseType(*value) == xltypeStr
                                  ? Record<Value>::Text(*value)
                                  : std::string());
      return grid;
  }
  Value source = *value;
  Value wanted = Record<Value>::Integer(xltypeMulti);
  typename Record<Value>::Holder read;
  if (read.Call(xlCoerce, &source, &wanted) != xlretSuccess) {
    grid.error = xlerrValue;
    return grid;
  }
  if (BaseType(read.value()) == xltypeMulti) {
    CollectGrid(read.value(), &grid);
  } else if (BaseType(read.value()) == xltypeErr) {
    grid.error = static_cast<int32_t>(read.value().val.err);
  } else {
    grid.error = xlerrValue;
  }
  return grid;
}

template <typename Value>
Value* HandOverSheetResult(const SheetAnswer& answer) {
  auto owned = std::make_unique<OwnedResult<Value>>();
  Fill(answer, owned.get());
  owned->value.xltype |= xlbitDLLFree;
  return TheOwnedResults<Value>().Keep(std::move(owned));
}

template <typename Value>
void GiveBackSheetResult(Value* value) {
  if (value != nullptr) TheOwnedResults<Value>().Release(value);
}

template <typename Value>
std::size_t OutstandingSheetResults() {
  return TheOwnedResults<Value>().size();
}

template SheetArgument ReadSheetArgument(const XLOPER*);
template SheetArgument ReadSheetArgument(const XLOPER12*);
template SheetRange ReadSheetRange(const XLOPER*);
template SheetRange ReadSheetRange(const XLOPER12*);
template SheetGrid ReadSheetGrid(const XLOPER*);
template SheetGrid ReadSheetGrid(const XLOPER12*);
template XLOPER* HandOverSheetResult<XLOPER>(const SheetAnswer&);
template XLOPER12* HandOverSheetResult<XLOPER12>(const SheetAnswer&);
template void GiveBackSheetResult(XLOPER*);
template void GiveBackSheetResult(XLOPER12*);
template std::size_t OutstandingSheetResults<XLOPER>();
template std::size_t OutstandingSheetResults<XLOPER12>();

}  // namespace marrowfield
