// Expat is a C library: an exception must not unwind through its frames. The
// callbacks therefore catch whatever the handler throws, stop the parser and
// keep the exception, and Feed() rethrows it once expat has returned.
#include "xml_reader.h"

#include <expat.h>

#include <climits>
#include <new>

namespace marrowfield {

namespace {

// Expat joins namespace URI and local name with this byte.
constexpr char kNamespaceSeparator = '\x01';

std::string_view LocalName(const char* name) {
  std::string_view full(name);
  const std::size_t cut = full.rfind(kNamespaceSeparator);
  return cut == std::string_view::npos ? full : full.substr(cut + 1);
}

std::string PendingMarkupMessage(uint64_t limit) {
  return "a tag, comment or other piece of XML longer than " +
         DescribeBytes(limit) + " (the limit for one piece of markup)";
}

}  // namespace

std::optional<std::string_view> XmlAttributes::Get(
    std::string_view localName) const {
  for (const char** pair = pairs_; pair[0] != nullptr; pair += 2) {
    if (LocalName(pair[0]) == localName) return std::string_view(pair[1]);
  }
  return std::nullopt;
}

struct XmlReader::State {
  XML_Parser parser = nullptr;
  XmlHandler* handler = nullptr;
  const ReaderLimits* limits = nullptr;
  std::exception_ptr failure;
  int depth = 0;
  // Bytes fed so far, and the end of the input the last event covered: what
  // lies between is what expat holds back until a piece of markup is whole.
  uint64_t fed = 0;
  uint64_t settled = 0;

  int64_t Line() const {
    return static_cast<int64_t>(XML_GetCurrentLineNumber(parser));
  }

  // Stops the parser; Feed() throws |message| once expat has returned.
  void Refuse(const std::string& message) {
    if (failure) return;
    failure = std::make_exception_ptr(XmlError(Line(), message));
    XML_StopParser(parser, XML_FALSE);
  }

  template <typename Call>
  static void Guard(void* data, Call call) {
    auto* state = static_cast<State*>(data);
    if (state->failure) return;
    const XML_Index at = XML_GetCurrentByteIndex(state->parser);
    if (at >= 0) {
      state->settled =
          static_cast<uint64_t>(at) +
          static_cast<uint64_t>(XML_GetCurrentByteCount(state->parser));
    }
    try {
      call(*state);
    } catch (...) {
      state->failure = std::current_exception();
      XML_StopParser(state->parser, XML_FALSE);
    }
  }

  static void OnStart(void* data, const XML_Char* name,
                      const XML_Char** attributes) {
    Guard(data, [&](State& state) {
      // Expat keeps its own stack of open elements, so depth costs memory
      // rather than recursion; the limit keeps that small.
      if (++state.depth > state.limits->xmlDepth) {
        state.Refuse("elements nested more than " +
                     std::to_string(state.limits->xmlDepth) +
                     " deep (the limit for XML parts)");
        return;
      }
      state.handler->OnStart(LocalName(name), XmlAttributes(attributes));
    });
  }
  static void OnEnd(void* data, const XML_Char* name) {
    Guard(data, [&](State& state) {
      --state.depth;
      state.handler->OnEnd(LocalName(name));
    });
  }
  static void OnText(void* data, const XML_Char* text, int length) {
    Guard(data, [&](State& state) {
      state.handler->OnText(
          std::string_view(text, static_cast<std::size_t>(length)));
    });
  }
  static void OnDoctype(void* data, const XML_Char*, const XML_Char*,
                        const XML_Char*, int) {
    static_cast<State*>(data)->Refuse(
        "a DOCTYPE declaration is not allowed in a workbook part");
  }
  // Entities are declared only inside a DOCTYPE, which is refused first;
  // this stays as a second lock on the same door.
  static void OnEntity(void* data, const XML_Char*, int, const XML_Char*, int,
                       const XML_Char*, const XML_Char*, const XML_Char*,
                       const XML_Char*) {
    static_cast<State*>(data)->Refuse(
        "an entity declaration is not allowed in a workbook part");
  }
};

XmlReader::XmlReader(XmlHandler& handler, const ReaderLimits& limits)
    : state_(std::make_unique<State>()) {
  state_->handler = &handler;
  state_->limits = &limits;
  state_->parser = XML_ParserCreateNS(nullptr, kNamespaceSeparator);
  if (state_->parser == nullptr) throw std::bad_alloc();
  XML_SetUserData(state_->parser, state_.get());
  XML_SetElementHandler(state_->parser, &State::OnStart, &State::OnEnd);
  XML_SetCharacterDataHandler(state_->parser, &State::OnText);
  XML_SetStartDoctypeDeclHandler(state_->parser, &State::OnDoctype);
  XML_SetEntityDeclHandler(state_->parser, &State::OnEntity);
}

XmlReader::~XmlReader() { XML_ParserFree(state_->parser); }

XmlReader::Span XmlReader::CurrentEvent() const {
  const XML_Index at = XML_GetCurrentByteIndex(state_->parser);
  const int count = XML_GetCurrentByteCount(state_->parser);
  Span span;
  if (at >= 0) span.begin = static_cast<uint64_t>(at);
  if (count > 0) span.size = static_cast<uint64_t>(count);
  return span;
}

void XmlReader::Feed(const char* data, std::size_t size, bool last) {
  // Expat takes an int length; larger pieces go in slices.
  while (size > static_cast<std::size_t>(INT_MAX)) {
    Feed(data, static_cast<std::size_t>(INT_MAX), false);
    data += INT_MAX;
    size -= static_cast<std::size_t>(INT_MAX);
  }
  const XML_Status status =
      XML_Parse(state_->parser, data, static_cast<int>(size), last ? 1 : 0);
  if (state_->failure) std::rethrow_exception(state_->failure);
  if (status != XML_STATUS_OK) {
    const XML_Error code = XML_GetErrorCode(state_->parser);
    throw XmlError(state_->Line(),
                   std::string("invalid XML: ") + XML_ErrorString(code));
  }
  state_->fed += size;
  const uint64_t limit = state_->limits->xmlPendingBytes;
  if (state_->fed > state_->settled + limit) {
    throw XmlError(state_->Line(), PendingMarkupMessage(limit));
  }
}

void ParseXml(std::string_view document, XmlHandler& handler,
              const ReaderLimits& limits) {
  XmlReader reader(handler, limits);
  reader.Feed(document.data(), document.size(), true);
}

}  // namespace marrowfield
