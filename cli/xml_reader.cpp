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
  std::exception_ptr failure;

  template <typename Call>
  static void Guard(void* data, Call call) {
    auto* state = static_cast<State*>(data);
    if (state->failure) return;
    try {
      call(*state->handler);
    } catch (...) {
      state->failure = std::current_exception();
      XML_StopParser(state->parser, XML_FALSE);
    }
  }

  static void OnStart(void* data, const XML_Char* name,
                      const XML_Char** attributes) {
    Guard(data, [&](XmlHandler& handler) {
      handler.OnStart(LocalName(name), XmlAttributes(attributes));
    });
  }
  static void OnEnd(void* data, const XML_Char* name) {
    Guard(data, [&](XmlHandler& handler) { handler.OnEnd(LocalName(name)); });
  }
  static void OnText(void* data, const XML_Char* text, int length) {
    Guard(data, [&](XmlHandler& handler) {
      handler.OnText(std::string_view(text, static_cast<std::size_t>(length)));
    });
  }
};

XmlReader::XmlReader(XmlHandler& handler) : state_(std::make_unique<State>()) {
  state_->handler = &handler;
  state_->parser = XML_ParserCreateNS(nullptr, kNamespaceSeparator);
  if (state_->parser == nullptr) throw std::bad_alloc();
  XML_SetUserData(state_->parser, state_.get());
  XML_SetElementHandler(state_->parser, &State::OnStart, &State::OnEnd);
  XML_SetCharacterDataHandler(state_->parser, &State::OnText);
}

XmlReader::~XmlReader() { XML_ParserFree(state_->parser); }

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
    throw XmlError(
        static_cast<int64_t>(XML_GetCurrentLineNumber(state_->parser)),
        XML_ErrorString(code));
  }
}

void ParseXml(std::string_view document, XmlHandler& handler) {
  XmlReader reader(handler);
  reader.Feed(document.data(), document.size(), true);
}

}  // namespace marrowfield
