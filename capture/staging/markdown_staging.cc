#include "capture/staging/markdown_staging.h"

#include <memory>
#include <new>
#include <optional>
#include <sstream>

#include "capture/staging/base_element.h"
#include "capture/staging/file_url.h"
#include "markdown/parser.h"
#include "markdown/parser_config.h"
#include "platform/files.h"

namespace ondrel {
namespace {

constexpr char kEndOfText = '\x1A';

std::shared_ptr<markdown::ParserConfig> stagingConfig() {
  auto config = std::make_shared<markdown::ParserConfig>();
  config->parserMask = markdown::kStagingParserMask;
  return config;
}

}  // namespace

std::string readAsText(std::string_view bytes) {
  const std::size_t end = bytes.find(kEndOfText);
  if (end != std::string_view::npos) bytes = bytes.substr(0, end);
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text.push_back(bytes[i]);
  }
  return text;
}

std::string writeAsText(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16 + 2);
  for (const char c : text) {
    if (c == '\n') bytes.push_back('\r');
    bytes.push_back(c);
  }
  return bytes;
}

std::string stagedPageText(const MarkdownDocument& document) {
  std::istringstream text(readAsText(document.bytes));
  markdown::Parser parser(stagingConfig());
  // The base stands on a line of its own before the converter's HTML, which
  // stays byte for byte what it always was.
  std::string html = baseLineFor(document.folderUrl);
  html += parser.convert(text);
  html.push_back('\n');
  return writeAsText(html);
}

std::optional<std::string> markdownPageFor(const WideString& pagePath,
                                           const MarkdownConverter& convert,
                                           std::uint32_t codePage) {
  try {
    const std::optional<std::string> file = platform::readFileBytes(pagePath);
    return markdownPageOf(
        {file ? std::string_view(*file) : std::string_view(), folderUrl(pagePath), codePage},
        convert);
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<std::string> markdownPageOf(const MarkdownDocument& document,
                                          const MarkdownConverter& convert) {
  try {
    return convert ? convert(document) : stagedPageText(document);
  } catch (...) {
    // Whatever the converter raised, the viewer must never see it.
    return std::nullopt;
  }
}

}  // namespace ondrel
