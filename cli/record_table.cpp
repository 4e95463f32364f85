// Records from sheets: the chosen columns found once per sheet, then the
// cells taken row by row into fixed-width records.
#include "record_table.h"

#include <cstdint>
#include <map>
#include <unordered_map>
#include <utility>

#include "input_error.h"

namespace marrowfield {

namespace {

const char* const kRoleOptions[] = {"--name", "--same", "--also"};

std::string Trimmed(const std::string& text) {
  const size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  const size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

}  // namespace

std::vector<std::string> SplitColumnList(const std::string& list) {
  std::vector<std::string> names;
  size_t start = 0;
  for (;;) {
    const size_t comma = list.find(',', start);
    names.push_back(Trimmed(list.substr(start, comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return names;
}

std::vector<std::string> ColumnLists(const std::vector<std::string>& given) {
  std::vector<std::string> columns;
  for (const std::string& list : given) {
    for (std::string& column : SplitColumnList(list))
      columns.push_back(std::move(column));
  }
  return columns;
}

void AddSheetRecords(const LoadedSheet& sheet, int32_t sheetIndex,
                     const RecordColumns& columns, RecordTable& table) {
  const std::string file = sheet.path == "-" ? "standard input" : sheet.path;
  table.fieldCount = columns.FieldCount();
  // Each column's field, and the role and name it was given first.
  std::map<int32_t, size_t> fieldOfColumn;
  std::map<int32_t, std::pair<size_t, std::string>> given;
  int32_t headerRow = 0;
  int32_t firstNameColumn = 0;
  size_t field = 0;
  const std::vector<std::string>* roles[] = {&columns.name, &columns.same,
                                             &columns.also};
  for (size_t role = 0; role < 3; ++role) {
    for (const std::string& name : *roles[role]) {
      const ColumnChoice choice = FindColumn(sheet, name);
      if (choice.headerRow != 0) headerRow = choice.headerRow;
      if (role == 0 && firstNameColumn == 0) firstNameColumn = choice.column;
      const auto [it, added] =
          given.emplace(choice.column, std::make_pair(role, name));
      if (!added) {
        const std::string& other = it->second.second;
        // "Last" and "C" may name one column; "Last" twice is one name.
        const std::string both =
            other == name
                ? "\"" + name + "\" is"
                : "\"" + other + "\" and \"" + name + "\" name one column,";
        throw InputError(file + ": " + both + " given " +
                         (it->second.first == role
                              ? std::string("twice to ") + kRoleOptions[role]
                              : std::string("to both ") +
                                    kRoleOptions[it->second.first] + " and " +
                                    kRoleOptions[role]) +
                         "; give each column one role");
      }
      fieldOfColumn[choice.column] = field++;
    }
  }
  table.nameColumn.push_back(firstNameColumn);
  table.headerRow.push_back(headerRow);
  if (sheet.cells.empty()) return;

  const int32_t firstRow =
      headerRow != 0 ? headerRow + 1 : sheet.cells.front().row;
  const int32_t lastRow = sheet.cells.back().row;
  if (lastRow < firstRow) return;
  const size_t base = table.rows.size();
  const size_t count = static_cast<size_t>(lastRow - firstRow) + 1;
  table.rows.reserve(base + count);
  for (size_t k = 0; k < count; ++k) {
    table.rows.push_back(
        RecordRow{sheetIndex, firstRow + static_cast<int32_t>(k)});
  }
  table.fields.resize(table.rows.size() * table.fieldCount);
  for (const GridCell& cell : sheet.cells) {
    if (cell.row < firstRow) continue;
    const auto it = fieldOfColumn.find(cell.column);
    if (it == fieldOfColumn.end()) continue;
    // Numbers count by their text too: a telephone number is a same field.
    const size_t r = base + static_cast<size_t>(cell.row - firstRow);
    table.fields[r * table.fieldCount + it->second] = cell.text;
  }
}

std::string RecordNameText(const RecordTable& table, size_t r,
                           size_t nameFields) {
  std::string name;
  for (size_t f = 0; f < nameFields; ++f) {
    const std::string& text = table.Field(r, f);
    if (text.empty()) continue;
    if (!name.empty()) name.push_back(' ');
    name += text;
  }
  return name;
}

ValueTable RecordValues(const RecordTable& table, const RecordColumns& columns,
                        const std::vector<char>& shown,
                        std::vector<size_t>& valueOfRecord) {
  ValueTable values;
  values.records = true;
  std::unordered_map<std::string, size_t> known;
  valueOfRecord.assign(table.rows.size(), SIZE_MAX);
  const size_t nameFields = columns.name.size();
  for (size_t r = 0; r < table.rows.size(); ++r) {
    if (r >= shown.size() || !shown[r]) continue;
    std::string text = RecordNameText(table, r, nameFields);
    std::string others;
    for (size_t f = nameFields; f < table.fieldCount; ++f) {
      if (!others.empty()) others += "; ";
      others += table.Field(r, f);
    }
    if (table.fieldCount > nameFields) text += " (" + others + ")";
    const auto [it, added] = known.emplace(text, values.values.size());
    if (added) {
      values.values.push_back(text);
      values.counts.push_back(0);
      values.places.emplace_back();
    }
    valueOfRecord[r] = it->second;
    ++values.counts[it->second];
    const RecordRow& row = table.rows[r];
    values.places[it->second].push_back(
        ValuePlace{row.sheetIndex, row.row,
                   table.nameColumn[static_cast<size_t>(row.sheetIndex)]});
    ++values.cells;
  }
  return values;
}

}  // namespace marrowfield
