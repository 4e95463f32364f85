// Formatting groups. As for the search, everything is built into one
// string that the command writes at once, and JSON replaces bytes that are
// not UTF-8 while CSV keeps the exact cell text.
#include "group_output.h"

#include <nlohmann/json.hpp>

#include "json_lines.h"

namespace marrowfield {

namespace {

std::string FormatText(const std::vector<ValueGroup>& groups,
                       const ValueTable& table,
                       const std::vector<LoadedSheet>& sheets) {
  std::string out;
  for (const ValueGroup& group : groups) {
    if (!out.empty()) out += "\n";
    out += OnOneLine(table.values.at(group.canonical)) + "  (" +
           std::to_string(group.members.size()) + " spellings, " +
           std::to_string(group.cells) +
           (group.cells == 1 ? " cell)\n" : " cells)\n");
    for (const GroupRow& member : group.members) {
      out += "  " + OnOneLine(table.values.at(member.value)) + "  (" +
             std::to_string(member.score) + "%";
      if (member.via != group.canonical && member.via != member.value) {
        out += ", via " + OnOneLine(table.values.at(member.via)) + " " +
               std::to_string(member.viaScore) + "%";
      }
      out += ")  " + SummarisePlaces(table, member.value, sheets) + "\n";
    }
  }
  return out;
}

std::string FormatJson(const std::vector<ValueGroup>& groups,
                       const ValueTable& table,
                       const std::vector<LoadedSheet>& sheets) {
  JsonLines lines;
  for (size_t g = 0; g < groups.size(); ++g) {
    for (const GroupRow& member : groups[g].members) {
      nlohmann::ordered_json object;
      object["group"] = g + 1;
      object["canonical"] = table.values.at(groups[g].canonical);
      object["text"] = table.values.at(member.value);
      object["count"] = table.counts.at(member.value);
      object["score"] = member.score;
      object["via"] = table.values.at(member.via);
      object["via_score"] = member.viaScore;
      object["places"] = DescribePlaces(table, member.value, sheets);
      lines.Add(object);
    }
  }
  return lines.Finish();
}

std::string FormatCsv(const std::vector<ValueGroup>& groups,
                      const ValueTable& table,
                      const std::vector<LoadedSheet>& sheets) {
  std::string out = "group,canonical,text,count,score,via,via_score,places\r\n";
  for (size_t g = 0; g < groups.size(); ++g) {
    for (const GroupRow& member : groups[g].members) {
      out += std::to_string(g + 1) + "," +
             CsvField(table.values.at(groups[g].canonical)) + "," +
             CsvField(table.values.at(member.value)) + "," +
             std::to_string(table.counts.at(member.value)) + "," +
             std::to_string(member.score) + "," +
             CsvField(table.values.at(member.via)) + "," +
             std::to_string(member.viaScore) + "," +
             CsvField(JoinedPlaces(table, member.value, sheets)) + "\r\n";
    }
  }
  return out;
}

}  // namespace

std::string FormatGroups(const std::vector<ValueGroup>& groups,
                         const ValueTable& table,
                         const std::vector<LoadedSheet>& sheets,
                         OutputFormat format) {
  switch (format) {
    case OutputFormat::JSON:
      return FormatJson(groups, table, sheets);
    case OutputFormat::CSV:
      return FormatCsv(groups, table, sheets);
    case OutputFormat::TEXT:
      break;
  }
  return FormatText(groups, table, sheets);
}

std::string FormatMapping(const std::vector<ValueGroup>& groups,
                          const ValueTable& table) {
  std::string out = "text,canonical\r\n";
  for (const ValueGroup& group : groups) {
    for (const GroupRow& member : group.members) {
      out += CsvField(table.values.at(member.value)) + "," +
             CsvField(table.values.at(group.canonical)) + "\r\n";
    }
  }
  return out;
}

}  // namespace marrowfield
