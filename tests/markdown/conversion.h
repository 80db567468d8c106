#ifndef ONDREL_TESTS_MARKDOWN_CONVERSION_H_
#define ONDREL_TESTS_MARKDOWN_CONVERSION_H_

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "markdown/parser.h"
#include "markdown/parser_config.h"

namespace markdown::test_support {

// Lines joined with line feeds, with no line feed after the last one.
inline std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

inline std::string convertText(const std::string& text, std::shared_ptr<ParserConfig> config) {
  Parser parser(std::move(config));
  std::istringstream input(text);
  return parser.convert(input);
}

// Converts with a configuration holding `mask` (the default mask unless given).
inline std::string convertLines(const std::vector<std::string>& lines,
                                std::uint32_t mask = kDefaultParserMask) {
  auto config = std::make_shared<ParserConfig>();
  config->parserMask = mask;
  return convertText(joinLines(lines), config);
}

// A case of the table-driven tests: the lines of a document and its HTML.
struct ConversionCase {
  const char* name;
  std::vector<std::string> lines;
  std::string html;
  std::uint32_t mask = kDefaultParserMask;
};

inline std::ostream& operator<<(std::ostream& out, const ConversionCase& c) {
  return out << c.name;
}

}  // namespace markdown::test_support

#endif  // ONDREL_TESTS_MARKDOWN_CONVERSION_H_
