// Formatting links, in the manner of the groups' output: one string built
// whole, exact text in CSV, invalid UTF-8 replaced in JSON only.
#include "link_output.h"

#include <nlohmann/json.hpp>

#include "json_lines.h"

namespace marrowfield {

namespace {

std::string FormatText(const std::vector<ValueLinks>& links, const LinkSide& a,
                       const LinkSide& b) {
  std::string out;
  for (const ValueLinks& link : links) {
    if (!out.empty()) out += "\n";
    out += OnOneLine(a.table.values.at(link.value)) + "  " +
           SummarisePlaces(a.table, link.value, a.sheets) + "\n";
    for (const LinkMatch& match : link.matches) {
      out += "  " + OnOneLine(b.table.values.at(match.value)) + "  (" +
             std::to_string(match.score) + "%)  " +
             SummarisePlaces(b.table, match.value, b.sheets) + "\n";
    }
  }
  return out;
}

std::string FormatJson(const std::vector<ValueLinks>& links, const LinkSide& a,
                       const LinkSide& b) {
  JsonLines lines;
  for (const ValueLinks& link : links) {
    for (const LinkMatch& match : link.matches) {
      nlohmann::ordered_json object;
      object["text"] = a.table.values.at(link.value);
      object["count"] = a.table.counts.at(link.value);
      object["places"] = DescribePlaces(a.table, link.value, a.sheets);
      object["match"] = b.table.values.at(match.value);
      object["score"] = match.score;
      object["match_count"] = b.table.counts.at(match.value);
      object["match_places"] = DescribePlaces(b.table, match.value, b.sheets);
      lines.Add(object);
    }
  }
  return lines.Finish();
}

std::string FormatCsv(const std::vector<ValueLinks>& links, const LinkSide& a,
                      const LinkSide& b) {
  std::string out =
      "text,count,places,match,score,match_count,match_places\r\n";
  for (const ValueLinks& link : links) {
    for (const LinkMatch& match : link.matches) {
      out += CsvField(a.table.values.at(link.value)) + "," +
             std::to_string(a.table.counts.at(link.value)) + "," +
             CsvField(JoinedPlaces(a.table, link.value, a.sheets)) + "," +
             CsvField(b.table.values.at(match.value)) + "," +
             std::to_string(match.score) + "," +
             std::to_string(b.table.counts.at(match.value)) + "," +
             CsvField(JoinedPlaces(b.table, match.value, b.sheets)) + "\r\n";
    }
  }
  return out;
}

}  // namespace

std::string FormatLinks(const std::vector<ValueLinks>& links, const LinkSide& a,
                        const LinkSide& b, OutputFormat format) {
  switch (format) {
    case OutputFormat::JSON:
      return FormatJson(links, a, b);
    case OutputFormat::CSV:
      return FormatCsv(links, a, b);
    case OutputFormat::TEXT:
      break;
  }
  return FormatText(links, a, b);
}

}  // namespace marrowfield
