// The records a "dedupe" or "link" by --name, --same and --also works on:
// the rows of each input, with the fields of the chosen columns in that
// order, and what it takes to show a group of them as the other list
// commands show values.
#ifndef MARROWFIELD_CLI_RECORD_TABLE_H_
#define MARROWFIELD_CLI_RECORD_TABLE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "column_values.h"
#include "spreadsheet_file.h"

namespace marrowfield {

// The columns of each role, as the user named them (headers or letters).
struct RecordColumns {
  std::vector<std::string> name;
  std::vector<std::string> same;
  std::vector<std::string> also;

  size_t FieldCount() const { return name.size() + same.size() + also.size(); }
};

// One record: where it lies and its fields (name, same, also in the order
// of RecordColumns; empty for a missing cell).
struct RecordRow {
  int32_t sheetIndex = 0;
  int32_t row = 0;
};

struct RecordTable {
  size_t fieldCount = 0;
  std::vector<RecordRow> rows;
  std::vector<std::string> fields;  // fieldCount per row, row after row
  // The column of the first name field in each sheet (for places).
  std::vector<int32_t> nameColumn;
  // The header row of each sheet; 0 when columns were named by letters.
  std::vector<int32_t> headerRow;

  const std::string& Field(size_t r, size_t f) const {
    return fields[r * fieldCount + f];
  }
};

// Splits "A,B , C" into its names, blanks around each trimmed; an empty
// name stays (FindColumn refuses it with a message).
std::vector<std::string> SplitColumnList(const std::string& list);

// The names of every list of |given| (each option's value), in order.
std::vector<std::string> ColumnLists(const std::vector<std::string>& given);

// Adds the rows of |sheet| (tagged |sheetIndex|) to |table|: every row
// after the header (when a column was named by its header; else every row
// from the first), the missing cells as empty fields. Throws InputError
// naming the file for a column that is not there and for one column given
// two roles.
void AddSheetRecords(const LoadedSheet& sheet, int32_t sheetIndex,
                     const RecordColumns& columns, RecordTable& table);

// A value table over the records of |table| marked in |shown| for the
// list output: one value per distinct record, shown as its name with its
// same and also fields in parentheses, placed at each copy's first name
// cell. |valueOfRecord| receives each shown record's value (SIZE_MAX for
// the others): a million records make a table only of those in groups.
ValueTable RecordValues(const RecordTable& table, const RecordColumns& columns,
                        const std::vector<char>& shown,
                        std::vector<size_t>& valueOfRecord);

// The record's name: its name fields joined by spaces, empty ones left out.
std::string RecordNameText(const RecordTable& table, size_t r,
                           size_t nameFields);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_RECORD_TABLE_H_
