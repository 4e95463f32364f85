// Test files: temporary folders and hand-assembled workbooks, so that each
// test states exactly the XML its reader meets.
#include "test_files.h"

#include <stdlib.h>
#include <zip.h>

#include <fstream>
#include <stdexcept>

#include "cell_reference.h"

namespace marrowfield {

namespace {

const char* const kMainNs =
    "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const kRelNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* const kPackageRelNs =
    "http://schemas.openxmlformats.org/package/2006/relationships";

std::string Relationship(const std::string& id, const std::string& type,
                         const std::string& target) {
  return "<Relationship Id=\"" + id + "\" Type=\"" + std::string(kRelNs) + "/" +
         type + "\" Target=\"" + target + "\"/>";
}

std::string EscapeXml(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\r':
        escaped += "&#13;";
        break;
      default:
        escaped.push_back(c);
    }
  }
  return escaped;
}

}  // namespace

TempDir::TempDir() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "marrowfield-test-XXXXXX")
          .string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a temporary folder");
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Path(const std::string& name) const {
  return (path_ / name).string();
}

std::string TempDir::Write(const std::string& name,
                           const std::string& bytes) const {
  const std::string path = Path(name);
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path);
  return path;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw std::runtime_error("cannot read " + path);
  // One read of the known size: the hostile-file tests read back outputs of
  // a hundred megabytes, which a byte-wise copy makes slow in Debug builds.
  std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    throw std::runtime_error("cannot read " + path);
  }
  return bytes;
}

std::string BuildZip(const ZipParts& parts) {
  const TempDir dir;
  const std::string path = dir.Path("archive.zip");
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (archive == nullptr) throw std::runtime_error("zip_open failed");
  for (const auto& [name, content] : parts) {
    // The source reads |content| at zip_close; |parts| outlives that.
    zip_source_t* source =
        zip_source_buffer(archive, content.data(), content.size(), 0);
    if (source == nullptr ||
        zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE) < 0) {
      zip_source_free(source);
      zip_discard(archive);
      throw std::runtime_error("zip_file_add failed for " + name);
    }
  }
  if (zip_close(archive) != 0) {
    zip_discard(archive);
    throw std::runtime_error("zip_close failed");
  }
  return ReadWholeFile(path);
}

std::string WorksheetXml(const std::string& sheetData) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
         "<worksheet xmlns=\"" +
         std::string(kMainNs) + "\" xmlns:r=\"" + kRelNs +
         "\"><dimension ref=\"A1\"/><sheetData>" + sheetData +
         "</sheetData></worksheet>";
}

std::string SharedStringsXml(const std::vector<std::string>& strings) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<sst xmlns=\"" +
      std::string(kMainNs) + "\" count=\"" + std::to_string(strings.size()) +
      "\">";
  for (const std::string& s : strings) {
    xml += "<si><t xml:space=\"preserve\">" + s + "</t></si>";
  }
  return xml + "</sst>";
}

ZipParts WorkbookParts(const std::vector<std::string>& names,
                       const std::vector<std::string>& sheets,
                       const std::string& sharedStrings, bool absoluteTargets) {
  const std::string prefix = absoluteTargets ? "/xl/" : "";
  std::string workbook =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<workbook xmlns=\"" +
      std::string(kMainNs) + "\" xmlns:r=\"" + kRelNs + "\"><sheets>";
  std::string rels =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<Relationships xmlns=\"" +
      std::string(kPackageRelNs) + "\">";
  ZipParts parts;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    workbook += "<sheet name=\"" + names[i] + "\" sheetId=\"" + n +
                "\" r:id=\"rId" + n + "\"/>";
    rels += Relationship("rId" + n, "worksheet",
                         prefix + "worksheets/sheet" + n + ".xml");
    parts.emplace_back("xl/worksheets/sheet" + n + ".xml", sheets.at(i));
  }
  workbook += "</sheets></workbook>";
  if (!sharedStrings.empty()) {
    rels += Relationship("rIdS", "sharedStrings", prefix + "sharedStrings.xml");
    parts.emplace_back("xl/sharedStrings.xml", sharedStrings);
  }
  rels += "</Relationships>";
  parts.emplace_back("xl/workbook.xml", workbook);
  parts.emplace_back("xl/_rels/workbook.xml.rels", rels);
  parts.emplace_back(
      "_rels/.rels",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Relationships xmlns=\"" +
          std::string(kPackageRelNs) + "\">" +
          Relationship("rId1", "officeDocument", "xl/workbook.xml") +
          "</Relationships>");
  parts.emplace_back("[Content_Types].xml",
                     "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas."
                     "openxmlformats.org/package/2006/content-types\"/>");
  return parts;
}

ZipParts WorkbookFromCells(const std::string& sheetName,
                           const CellGrid& cells) {
  std::vector<std::string> shared;
  std::string rows;
  int32_t row = 0;
  for (const GridCell& cell : cells) {
    if (cell.row != row) {
      rows += std::string(row == 0 ? "" : "</row>") + "<row r=\"" +
              std::to_string(cell.row) + "\">";
      row = cell.row;
    }
    const std::string ref = CellReference(cell.row, cell.column);
    if (cell.isText) {
      rows += "<c r=\"" + ref + "\" t=\"s\"><v>" +
              std::to_string(shared.size()) + "</v></c>";
      shared.push_back(EscapeXml(cell.text));
    } else {
      rows += "<c r=\"" + ref + "\"><v>" + EscapeXml(cell.text) + "</v></c>";
    }
  }
  if (row != 0) rows += "</row>";
  return WorkbookParts({sheetName}, {WorksheetXml(rows)},
                       SharedStringsXml(shared));
}

}  // namespace marrowfield
