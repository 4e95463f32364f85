// Find duplicates apart from the host: the column, the header, the rows
// and the sheet name. The grouping itself is the shared sheet dedupe, so
// the result agrees with MARROWFIELD.GROUP and the command line's dedupe.

#include "duplicates_sheet.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace marrowfield {
namespace {

UsedCells::Kind KindOf(const AutomationValue& value) {
  switch (value.kind()) {
    case ValueKind::kEmpty:
      return UsedCells::Kind::kEmpty;
    case ValueKind::kString:
      return value.text().empty() ? UsedCells::Kind::kEmpty
                                  : UsedCells::Kind::kText;
    default:
      return UsedCells::Kind::kOther;
  }
}

void AddCell(UsedCells* cells, const AutomationValue& value) {
  const UsedCells::Kind kind = KindOf(value);
  cells->kinds.push_back(kind);
  cells->texts.push_back(kind == UsedCells::Kind::kText ? value.text()
                                                        : std::string());
}

bool SameSheetName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

AutomationValue Text(const std::string& text) {
  return AutomationValue::String("'" + text);
}

}  // namespace

UsedCells::Kind UsedCells::KindAt(int32_t row, int32_t column) const {
  return kinds[static_cast<std::size_t>(row - 1) *
                   static_cast<std::size_t>(columns) +
               static_cast<std::size_t>(column - 1)];
}

const std::string& UsedCells::TextAt(int32_t row, int32_t column) const {
  return texts[static_cast<std::size_t>(row - 1) *
                   static_cast<std::size_t>(columns) +
               static_cast<std::size_t>(column - 1)];
}

UsedCells ToUsedCells(const AutomationValue& value, int32_t top, int32_t left) {
  UsedCells cells;
  cells.top = top;
  cells.left = left;
  if (value.kind() == ValueKind::kEmpty) return cells;
  if (value.kind() != ValueKind::kArray) {
    cells.rows = cells.columns = 1;
    AddCell(&cells, value);
    return cells;
  }
  const AutomationArray& array = value.array();
  cells.rows = array.rows;
  cells.columns = array.columns;
  cells.kinds.reserve(array.cells.size());
  cells.texts.reserve(array.cells.size());
  for (const AutomationValue& cell : array.cells) AddCell(&cells, cell);
  return cells;
}

UsedCells ColumnOf(const UsedCells& cells, int32_t column) {
  UsedCells one;
  one.top = cells.top;
  one.left = cells.left + column - 1;
  if (column < 1 || column > cells.columns) return one;
  one.rows = cells.rows;
  one.columns = 1;
  one.kinds.reserve(static_cast<std::size_t>(cells.rows));
  one.texts.reserve(static_cast<std::size_t>(cells.rows));
  for (int32_t row = 1; row <= cells.rows; ++row) {
    one.kinds.push_back(cells.KindAt(row, column));
    one.texts.push_back(cells.TextAt(row, column));
  }
  return one;
}

int32_t DefaultDuplicatesColumn(const UsedCells& cells, int32_t activeColumn) {
  const int32_t column = activeColumn - cells.left + 1;
  return column >= 1 && column <= cells.columns ? column : 1;
}

bool FirstRowIsHeader(const UsedCells& cells, int32_t column) {
  if (cells.rows < 2 || column < 1 || column > cells.columns) return false;
  if (cells.KindAt(1, column) != UsedCells::Kind::kText) return false;
  for (int32_t c = 1; c <= cells.columns; ++c) {
    if (cells.KindAt(1, c) == UsedCells::Kind::kOther) return false;
  }
  return true;
}

std::vector<DuplicateRow> FindDuplicateRows(const UsedCells& cells,
                                            const DuplicatesChoice& choice,
                                            DedupeRun run) {
  std::vector<DuplicateRow> rows;
  if (choice.column < 1 || choice.column > cells.columns) return rows;
  const int32_t first = choice.header ? 2 : 1;
  std::vector<std::string> column;
  column.reserve(static_cast<std::size_t>(std::max(0, cells.rows - first + 1)));
  for (int32_t row = first; row <= cells.rows; ++row) {
    column.push_back(cells.TextAt(row, choice.column));
  }
  const DistinctCells distinct = NumberCells(column);
  if (distinct.texts.empty()) return rows;

  run.accuracy = std::clamp(choice.accuracy, 0, 100);
  const OwnedGroups groups =
      DedupeDistinct(distinct, choice.scoring, TextFolding::kWindows1252, run);

  // The cells of each distinct text, top to bottom, as a linked list
  // through the column so that no text needs a vector of its own.
  constexpr std::size_t kEnd = DistinctCells::kNoText;
  std::vector<std::size_t> firstCell(distinct.texts.size(), kEnd);
  std::vector<std::size_t> nextCell(column.size(), kEnd);
  for (std::size_t c = column.size(); c-- > 0;) {
    const std::size_t text = distinct.ofCell[c];
    if (text == kEnd) continue;
    nextCell[c] = firstCell[text];
    firstCell[text] = c;
  }

  // The dedupe's groups, and one for each text that is in none but
  // repeats: the library pairs distinct spellings only, yet a name typed
  // twice alike is the plainest duplicate of all. Biggest first, by total
  // cells then members, as the dedupe orders its own; the dedupe's order
  // (then first appearance) among equals.
  struct Group {
    std::size_t libraryGroup;  // kEnd: the repeats of |text|
    std::size_t text;
    uint64_t cells;
    std::size_t members;
  };
  const std::size_t texts = distinct.texts.size();
  std::vector<Group> order;
  std::vector<bool> grouped(texts, false);
  const std::size_t count = mf_groups_count(groups.get());
  for (std::size_t g = 0; g < count; ++g) {
    Group group{g, kEnd, 0, mf_groups_member_count(groups.get(), g)};
    for (std::size_t m = 0; m < group.members; ++m) {
      const std::size_t value = mf_groups_member_value(groups.get(), g, m);
      if (value >= texts) continue;
      grouped[value] = true;
      group.cells += distinct.counts[value];
    }
    order.push_back(group);
  }
  for (std::size_t v = 0; v < texts; ++v) {
    if (!grouped[v] && distinct.counts[v] > 1) {
      order.push_back({kEnd, v, distinct.counts[v], 1});
    }
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const Group& a, const Group& b) {
                     if (a.cells != b.cells) return a.cells > b.cells;
                     return a.members > b.members;
                   });

  uint64_t rowCount = 0;
  for (const Group& group : order) rowCount += group.cells;
  rows.reserve(static_cast<std::size_t>(rowCount));

  auto addCells = [&](int32_t group, std::size_t value, std::size_t suggested,
                      int score, std::size_t via) {
    for (std::size_t c = firstCell[value]; c != kEnd; c = nextCell[c]) {
      DuplicateRow row;
      row.group = group;
      row.suggested = *distinct.texts[suggested];
      row.text = *distinct.texts[value];
      row.score = score;
      row.via = *distinct.texts[via];
      row.sheetRow = cells.top + first - 1 + static_cast<int32_t>(c);
      row.sheetColumn = cells.left + choice.column - 1;
      rows.push_back(std::move(row));
    }
  };
  for (std::size_t n = 0; n < order.size(); ++n) {
    const int32_t number = static_cast<int32_t>(n + 1);
    const Group& group = order[n];
    if (group.libraryGroup == kEnd) {
      addCells(number, group.text, group.text, 100, group.text);
      continue;
    }
    const std::size_t g = group.libraryGroup;
    const std::size_t canonical = mf_groups_canonical(groups.get(), g);
    if (canonical >= texts) continue;
    for (std::size_t m = 0; m < group.members; ++m) {
      const std::size_t value = mf_groups_member_value(groups.get(), g, m);
      const std::size_t via = mf_groups_member_via(groups.get(), g, m);
      if (value >= texts || via >= texts) continue;
      addCells(number, value, canonical,
               mf_groups_member_score(groups.get(), g, m), via);
    }
  }
  return rows;
}

std::string CellAddress(int32_t row, int32_t column) {
  std::string letters;
  for (int32_t n = column; n > 0; n = (n - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  }
  return letters + std::to_string(row);
}

namespace {

// What every link of one sheet starts with: =HYPERLINK("#'Sheet'! . Inside
// the quoted sheet name a quote is doubled; inside the formula's string
// every quote is doubled again.
std::string LinkFormulaStart(const std::string& sheetName) {
  std::string quotedSheet;
  for (char c : sheetName) {
    quotedSheet += c;
    if (c == '\'') quotedSheet += c;
  }
  std::string start = "=HYPERLINK(\"";
  for (char c : "#'" + quotedSheet + "'!") {
    start += c;
    if (c == '"') start += c;
  }
  return start;
}

// The link to (row, column) after its sheet's LinkFormulaStart: a result
// sheet holds one per row, so it is built in one buffer.
std::string LinkFormula(const std::string& start, int32_t row,
                        int32_t column) {
  const std::string address = CellAddress(row, column);
  std::string formula;
  formula.reserve(start.size() + 2 * address.size() + 5);
  formula += start;
  formula += address;
  formula += "\",\"";
  formula += address;
  formula += "\")";
  return formula;
}

}  // namespace

std::string CellLinkFormula(const std::string& sheetName, int32_t row,
                            int32_t column) {
  return LinkFormula(LinkFormulaStart(sheetName), row, column);
}

AutomationArray DuplicatesArray(const std::vector<DuplicateRow>& rows,
                                const std::string& sheetName) {
  AutomationArray array;
  array.rows = static_cast<int32_t>(rows.size()) + 1;
  array.columns = kDuplicatesColumns;
  array.cells.reserve(static_cast<std::size_t>(array.rows) *
                      static_cast<std::size_t>(kDuplicatesColumns));
  for (const char* title :
       {"Group", "Suggested spelling", "Text", "Score", "Via", "Cell"}) {
    array.cells.push_back(AutomationValue::String(title));
  }
  const std::string linkStart = LinkFormulaStart(sheetName);
  for (const DuplicateRow& row : rows) {
    array.cells.push_back(AutomationValue::Int32(row.group));
    array.cells.push_back(Text(row.suggested));
    array.cells.push_back(Text(row.text));
    array.cells.push_back(AutomationValue::Int32(row.score));
    array.cells.push_back(Text(row.via));
    array.cells.push_back(AutomationValue::String(
        LinkFormula(linkStart, row.sheetRow, row.sheetColumn)));
  }
  return array;
}

std::string DuplicatesSheetName(const std::vector<std::string>& taken) {
  auto isTaken = [&taken](const std::string& name) {
    return std::any_of(
        taken.begin(), taken.end(),
        [&name](const std::string& t) { return SameSheetName(t, name); });
  };
  std::string name = "Duplicates";
  for (int n = 2; isTaken(name); ++n) {
    name = "Duplicates (" + std::to_string(n) + ")";
  }
  return name;
}

}  // namespace marrowfield
