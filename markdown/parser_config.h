#ifndef ONDREL_MARKDOWN_PARSER_CONFIG_H_
#define ONDREL_MARKDOWN_PARSER_CONFIG_H_

#include <cstdint>

namespace markdown {

// One bit per parser in ParserConfig::parserMask. No other bit is read.
inline constexpr std::uint32_t ENABLE_BREAK_LINE = 0x1;
inline constexpr std::uint32_t ENABLE_CHECKLIST = 0x2;
inline constexpr std::uint32_t ENABLE_CODE_BLOCK = 0x4;
inline constexpr std::uint32_t ENABLE_EMPHASIZED = 0x8;
inline constexpr std::uint32_t ENABLE_HEADLINE = 0x10;
inline constexpr std::uint32_t ENABLE_HORIZONTAL_LINE = 0x20;
inline constexpr std::uint32_t ENABLE_HTML = 0x40;
inline constexpr std::uint32_t ENABLE_IMAGE = 0x80;
inline constexpr std::uint32_t ENABLE_INLINE_CODE = 0x100;
inline constexpr std::uint32_t ENABLE_ITALIC = 0x200;
inline constexpr std::uint32_t ENABLE_LINK = 0x400;
inline constexpr std::uint32_t ENABLE_ORDERED_LIST = 0x800;
inline constexpr std::uint32_t ENABLE_PARAGRAPH = 0x1000;
inline constexpr std::uint32_t ENABLE_QUOTE = 0x2000;
inline constexpr std::uint32_t ENABLE_STRIKE_THROUGH = 0x4000;
inline constexpr std::uint32_t ENABLE_STRONG = 0x8000;
inline constexpr std::uint32_t ENABLE_TABLE = 0x10000;
inline constexpr std::uint32_t ENABLE_UNORDERED_LIST = 0x20000;
inline constexpr std::uint32_t ENABLE_LATEX_BLOCK = 0x40000;

// Every bit from ENABLE_BREAK_LINE to ENABLE_UNORDERED_LIST except ENABLE_HTML.
inline constexpr std::uint32_t kDefaultParserMask = 0x3FFBF;

// What the plug-in converts Markdown documents with: raw HTML passes through
// and underscores stay underscores, so that names like snake_case_name survive.
inline constexpr std::uint32_t kStagingParserMask =
    (kDefaultParserMask & ~ENABLE_EMPHASIZED) | ENABLE_HTML;

// The converter's options. A Parser made from a configuration may adjust its
// parserMask (see Parser's constructor), so the maker sees the final mask.
struct ParserConfig {
  bool keepEmphasizedBit = true;  // false: the Parser clears ENABLE_EMPHASIZED
  bool keepHtmlBit = true;        // false: the Parser sets ENABLE_HTML
  bool inlineInHeadlines = true;  // headlines get inline formatting
  std::uint32_t parserMask = kDefaultParserMask;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_PARSER_CONFIG_H_
