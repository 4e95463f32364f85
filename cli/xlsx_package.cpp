// The package structure of an Office Open XML workbook. Part paths are never
// assumed: writers differ (Excel writes "worksheets/sheet1.xml" relative to
// the workbook, others "/xl/worksheets/sheet1.xml" from the root), so every
// path is followed from the relationship parts.
#include "xlsx_package.h"

#include <map>
#include <string_view>

#include "input_error.h"

namespace marrowfield {

namespace {

struct Relationship {
  std::string type;
  std::string target;
  bool external = false;
};

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         text.substr(text.size() - suffix.size()) == suffix;
}

// The relationships part of |part| ("xl/workbook.xml" has
// "xl/_rels/workbook.xml.rels"; the package itself has "_rels/.rels").
std::string RelationshipsPartOf(const std::string& part) {
  const std::size_t slash = part.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "" : part.substr(0, slash + 1);
  const std::string file =
      slash == std::string::npos ? part : part.substr(slash + 1);
  return folder + "_rels/" + file + ".rels";
}

class RelationshipsHandler : public XmlHandler {
 public:
  std::map<std::string, Relationship> byId;

  void OnStart(std::string_view name, const XmlAttributes& attrs) override {
    if (name != "Relationship") return;
    const auto id = attrs.Get("Id");
    const auto type = attrs.Get("Type");
    const auto target = attrs.Get("Target");
    if (!id || !type || !target) return;
    const auto mode = attrs.Get("TargetMode");
    byId[std::string(*id)] = Relationship{
        std::string(*type), std::string(*target), mode && *mode == "External"};
  }
  void OnEnd(std::string_view) override {}
  void OnText(std::string_view) override {}
};

struct SheetReference {
  std::string name;
  std::string relationshipId;
};

class WorkbookHandler : public XmlHandler {
 public:
  std::vector<SheetReference> sheets;

  void OnStart(std::string_view name, const XmlAttributes& attrs) override {
    if (name != "sheet") return;
    const auto sheetName = attrs.Get("name");
    const auto id = attrs.Get("id");
    if (!sheetName || !id) {
      throw InputError("workbook lists a sheet without a name or part");
    }
    sheets.push_back(SheetReference{std::string(*sheetName), std::string(*id)});
  }
  void OnEnd(std::string_view) override {}
  void OnText(std::string_view) override {}
};

template <typename Handler>
void ParsePart(ZipArchive& archive, const std::string& part,
               const ReaderLimits& limits, Handler& handler) {
  const auto index = archive.Find(part);
  if (!index) throw InputError("part " + part + " is missing");
  try {
    ParsePartXml(archive, *index, limits.structurePartBytes, handler, limits);
  } catch (const XmlError& error) {
    throw InputError("part " + part + ", line " + std::to_string(error.line) +
                     ": " + error.what());
  }
}

std::map<std::string, Relationship> ReadRelationships(
    ZipArchive& archive, const std::string& part, bool required,
    const ReaderLimits& limits) {
  const std::string relsPart = RelationshipsPartOf(part);
  RelationshipsHandler handler;
  if (required || archive.Find(relsPart)) {
    ParsePart(archive, relsPart, limits, handler);
  }
  return handler.byId;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecode(const std::string& text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      decoded.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 +
                                          HexValue(text[i + 2])));
      i += 2;
    } else {
      decoded.push_back(text[i]);
    }
  }
  return decoded;
}

}  // namespace

std::string ResolvePartName(const std::string& sourcePart,
                            const std::string& target) {
  std::string path;
  if (!target.empty() && target[0] == '/') {
    path = target.substr(1);
  } else {
    const std::size_t slash = sourcePart.rfind('/');
    path = (slash == std::string::npos ? "" : sourcePart.substr(0, slash + 1)) +
           target;
  }
  std::vector<std::string> segments;
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = path.find('/', start);
    const std::string segment = path.substr(start, slash - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(PercentDecode(segment));
    }
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  std::string resolved;
  for (const std::string& segment : segments) {
    if (!resolved.empty()) resolved.push_back('/');
    resolved += segment;
  }
  return resolved;
}

void ParsePartXml(ZipArchive& archive, uint64_t index, uint64_t maxBytes,
                  XmlHandler& handler, const ReaderLimits& limits) {
  XmlReader reader(handler, limits);
  archive.Stream(index, maxBytes,
                 [&reader](const char* data, std::size_t size, bool last) {
                   reader.Feed(data, size, last);
                 });
}

XlsxWorkbookParts ReadWorkbookParts(ZipArchive& archive,
                                    const ReaderLimits& limits) {
  std::string workbookPart;
  for (const auto& [id, rel] : ReadRelationships(archive, "", true, limits)) {
    if (EndsWith(rel.type, "/officeDocument") && !rel.external) {
      workbookPart = ResolvePartName("", rel.target);
      break;
    }
  }
  if (workbookPart.empty()) {
    throw InputError("the package names no workbook part");
  }

  WorkbookHandler workbook;
  ParsePart(archive, workbookPart, limits, workbook);
  const auto rels = ReadRelationships(archive, workbookPart, false, limits);

  XlsxWorkbookParts parts;
  for (const SheetReference& sheet : workbook.sheets) {
    const auto rel = rels.find(sheet.relationshipId);
    if (rel == rels.end() || rel->second.external) {
      throw InputError("sheet '" + sheet.name + "' has no part");
    }
    parts.sheets.push_back(XlsxSheetEntry{
        sheet.name, ResolvePartName(workbookPart, rel->second.target),
        EndsWith(rel->second.type, "/worksheet")});
  }
  for (const auto& [id, rel] : rels) {
    if (EndsWith(rel.type, "/sharedStrings") && !rel.external) {
      parts.sharedStringsPart = ResolvePartName(workbookPart, rel.target);
    }
  }
  return parts;
}

}  // namespace marrowfield
