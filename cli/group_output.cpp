// Formatting groups. As for the search, everything is built into one
// string that the command writes at once, and JSON replaces bytes that are
// not UTF-8 while CSV keeps the exact cell text.
#include "group_output.h"

#include <functional>
#include <nlohmann/json.hpp>

#include "json_lines.h"
#include "run_chunks.h"

namespace marrowfield {

namespace {

// Groups per piece of output formatted on one thread.
constexpr size_t kGroupsPerChunk = 256;

// Formats groups [0, count) with format(g, out) on |threads| threads, each
// chunk of groups into a string of its own, and joins the strings in group
// order: the output of a million cells is otherwise a good part of a
// dedupe's serial time.
std::string FormatChunks(
    size_t count, unsigned threads,
    const std::function<void(size_t group, std::string& out)>& format) {
  std::vector<std::string> pieces((count + kGroupsPerChunk - 1) /
                                  kGroupsPerChunk);
  lists::RunChunks(count, kGroupsPerChunk,
                   lists::WorkerCount(threads, pieces.size()),
                   [&](unsigned, size_t chunk, size_t begin, size_t end) {
                     for (size_t g = begin; g < end; ++g)
                       format(g, pieces[chunk]);
                   });
  size_t size = 0;
  for (const std::string& piece : pieces) size += piece.size();
  std::string out;
  out.reserve(size);
  for (const std::string& piece : pieces) out += piece;
  return out;
}

std::string FormatText(const std::vector<ValueGroup>& groups,
                       const ValueTable& table,
                       const std::vector<LoadedSheet>& sheets,
                       unsigned threads) {
  return FormatChunks(groups.size(), threads, [&](size_t g, std::string& out) {
    const ValueGroup& group = groups[g];
    if (g > 0) out += "\n";
    const size_t members = group.members.size();
    out += OnOneLine(table.values.at(group.canonical)) + "  (" +
           std::to_string(members);
    if (table.records) {
      // Copies of one record are one record found in several rows.
      out += (members == 1 ? " record, " : " records, ") +
             std::to_string(group.cells) +
             (group.cells == 1 ? " row)\n" : " rows)\n");
    } else {
      out += " spellings, " + std::to_string(group.cells) +
             (group.cells == 1 ? " cell)\n" : " cells)\n");
    }
    for (const GroupRow& member : group.members) {
      out += "  " + OnOneLine(table.values.at(member.value)) + "  (" +
             std::to_string(member.score) + "%";
      if (member.via != group.canonical && member.via != member.value) {
        out += ", via " + OnOneLine(table.values.at(member.via)) + " " +
               std::to_string(member.viaScore) + "%";
      }
      out += ")  " + SummarisePlaces(table, member.value, sheets) + "\n";
    }
  });
}

std::string FormatJson(const std::vector<ValueGroup>& groups,
                       const ValueTable& table,
                       const std::vector<LoadedSheet>& sheets,
                       unsigned threads) {
  // Every object after a separator; the first separator becomes the
  // array's opening line break, as JsonLines writes it.
  const std::string objects =
      FormatChunks(groups.size(), threads, [&](size_t g, std::string& out) {
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
          out += kJsonLinesSeparator;
          out += JsonLines::Dump(object);
        }
      });
  if (objects.empty()) return JsonLines().Finish();
  return "[" + objects.substr(1) + "\n]\n";
}

std::string FormatCsv(const std::vector<ValueGroup>& groups,
                      const ValueTable& table,
                      const std::vector<LoadedSheet>& sheets,
                      unsigned threads) {
  return "group,canonical,text,count,score,via,via_score,places\r\n" +
         FormatChunks(groups.size(), threads, [&](size_t g, std::string& out) {
           for (const GroupRow& member : groups[g].members) {
             out += std::to_string(g + 1) + "," +
                    CsvField(table.values.at(groups[g].canonical)) + "," +
                    CsvField(table.values.at(member.value)) + "," +
                    std::to_string(table.counts.at(member.value)) + "," +
                    std::to_string(member.score) + "," +
                    CsvField(table.values.at(member.via)) + "," +
                    std::to_string(member.viaScore) + "," +
                    CsvField(JoinedPlaces(table, member.value, sheets)) +
                    "\r\n";
           }
         });
}

}  // namespace

std::string FormatGroups(const std::vector<ValueGroup>& groups,
                         const ValueTable& table,
                         const std::vector<LoadedSheet>& sheets,
                         OutputFormat format, unsigned threads) {
  switch (format) {
    case OutputFormat::JSON:
      return FormatJson(groups, table, sheets, threads);
    case OutputFormat::CSV:
      return FormatCsv(groups, table, sheets, threads);
    case OutputFormat::TEXT:
      break;
  }
  return FormatText(groups, table, sheets, threads);
}

std::string FormatMapping(const std::vector<ValueGroup>& groups,
                          const ValueTable& table, unsigned threads) {
  return "text,canonical\r\n" +
         FormatChunks(groups.size(), threads, [&](size_t g, std::string& out) {
           for (const GroupRow& member : groups[g].members) {
             out += CsvField(table.values.at(member.value)) + "," +
                    CsvField(table.values.at(groups[g].canonical)) + "\r\n";
           }
         });
}

}  // namespace marrowfield
