// Fuzzes the Markdown converter under every configuration. The first four
// bytes choose the configuration: byte 0 holds the three switches and whether
// there is a configuration at all, bytes 1 to 3 the parser mask (every bit the
// converter reads and some it must ignore). The rest is the document.
//
// The converter must also be deterministic: the same text converts to the
// same HTML through a fresh Parser, and again through a Parser already used.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "markdown/parser.h"
#include "markdown/parser_config.h"

namespace {

constexpr std::size_t kConfigurationBytes = 4;

// A fresh configuration each time: a Parser adjusts the one it is given.
std::shared_ptr<markdown::ParserConfig> makeConfig(const std::uint8_t* bytes) {
  const bool noConfiguration = (bytes[0] & 0x18) == 0x18;
  if (noConfiguration) return nullptr;
  auto config = std::make_shared<markdown::ParserConfig>();
  config->keepEmphasizedBit = bytes[0] & 0x1;
  config->keepHtmlBit = bytes[0] & 0x2;
  config->inlineInHeadlines = bytes[0] & 0x4;
  config->parserMask =
      std::uint32_t(bytes[1]) | std::uint32_t(bytes[2]) << 8 | std::uint32_t(bytes[3]) << 16;
  return config;
}

std::string convert(markdown::Parser& parser, const std::string& text) {
  std::istringstream input(text);
  return parser.convert(input);
}

void requireSame(const std::string& expected, const std::string& actual, const char* what) {
  if (expected == actual) return;
  std::fprintf(stderr, "%s gave different HTML:\n%s\n---- instead of ----\n%s\n", what,
               actual.c_str(), expected.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kConfigurationBytes) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + kConfigurationBytes,
                         size - kConfigurationBytes);

  markdown::Parser first(makeConfig(data));
  const std::string html = convert(first, text);
  markdown::Parser second(makeConfig(data));
  requireSame(html, convert(second, text), "a second Parser");
  requireSame(html, convert(first, text), "the same Parser converting again");
  return 0;
}
