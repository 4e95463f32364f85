// A small RAII wrapper over expat for the parts of an .xlsx package: elements
// reach a handler by local name (namespace prefixes vary between writers), and
// parse errors come back as exceptions instead of status codes. Package parts
// may not carry a DOCTYPE, and no workbook writer emits one; refusing it shuts
// out entity expansion and external entities altogether.
#ifndef MARROWFIELD_CLI_XML_READER_H_
#define MARROWFIELD_CLI_XML_READER_H_

#include <cstddef>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "reader_limits.h"

namespace marrowfield {

// The attributes of one start tag, looked up by local name.
class XmlAttributes {
 public:
  explicit XmlAttributes(const char** pairs) : pairs_(pairs) {}

  // Returns the value of the attribute whose local name is |localName|,
  // whatever its namespace.
  std::optional<std::string_view> Get(std::string_view localName) const;

 private:
  const char** pairs_;
};

class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  virtual void OnStart(std::string_view localName,
                       const XmlAttributes& attributes) = 0;
  virtual void OnEnd(std::string_view localName) = 0;
  // Character data, possibly in several pieces for one run of text.
  virtual void OnText(std::string_view text) = 0;
};

// Malformed or refused XML; |line| is the line of the document where
// parsing stopped. The message is fit to follow "line N: ": "invalid XML:
// mismatched tag", "a DOCTYPE declaration is not allowed in a workbook part".
class XmlError : public std::runtime_error {
 public:
  XmlError(int64_t line, const std::string& message)
      : std::runtime_error(message), line(line) {}
  int64_t line;
};

// Feeds one document, in pieces, to a handler.
class XmlReader {
 public:
  // Keeps a reference to |limits|, which must outlive the reader.
  XmlReader(XmlHandler& handler, const ReaderLimits& limits);
  ~XmlReader();
  XmlReader(const XmlReader&) = delete;
  XmlReader& operator=(const XmlReader&) = delete;

  // Parses the next piece; |last| marks the end of the document. Throws
  // XmlError for malformed XML, a DOCTYPE, elements nested deeper than the
  // limit and markup left pending past the limit; rethrows whatever the
  // handler threw.
  void Feed(const char* data, std::size_t size, bool last);

  // Where the event being handled lies in the document, counted in bytes
  // from its start: a start tag's first byte and its length (an empty
  // element's tag ends in "/>"), an end tag's first byte. Meant for
  // handlers that rewrite the document in place; valid inside a callback.
  struct Span {
    uint64_t begin = 0;
    uint64_t size = 0;
  };
  Span CurrentEvent() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Parses a whole document held in memory.
void ParseXml(std::string_view document, XmlHandler& handler,
              const ReaderLimits& limits);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_XML_READER_H_
