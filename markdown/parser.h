#ifndef ONDREL_MARKDOWN_PARSER_H_
#define ONDREL_MARKDOWN_PARSER_H_

#include <cstdint>
#include <istream>
#include <memory>
#include <string>

#include "markdown/block_parser.h"
#include "markdown/line_parser.h"
#include "markdown/parser_config.h"

namespace markdown {

// The Markdown converter. It reads a document line by line, lets the first
// block kind whose start test passes open a block, feeds the open block until
// it reports done and joins the finished blocks' HTML. Nothing is escaped.
//
// No step costs more than linear time in the line it works on, and a line
// passes through at most kMaxNestingDepth open blocks, so any input converts
// in time linear in its size, on a small stack. convert throws nothing but
// std::bad_alloc (and what the stream throws if its exceptions are enabled).
//
// A Parser holds no state of its own beyond its configuration and inline
// parsers, so it may convert any number of documents, one at a time.
class Parser {
 public:
  // `config` may be empty: every kind is then enabled but LaTeX and raw HTML.
  // A present configuration is adjusted in place: keepEmphasizedBit false
  // clears ENABLE_EMPHASIZED, keepHtmlBit false sets ENABLE_HTML.
  explicit Parser(std::shared_ptr<ParserConfig> config);

  Parser(const Parser&) = delete;
  Parser& operator=(const Parser&) = delete;

  // Reads the stream to its end and returns the HTML. Lines end at "\n"; a
  // CR before it stays part of the line. A block still open at the end gets
  // one empty line and is output only if that ends it.
  std::string convert(std::istream& input);

  // Applies the enabled inline parsers to the line in place, in the order
  // image, link, strong, emphasized, strike-through, inline code, italic,
  // line break.
  void runInlineParsers(std::string& line);

  // The block that the line opens, by the first kind in the fixed order whose
  // start test passes; empty for an empty line that opens nothing.
  std::shared_ptr<BlockParser> selectBlockParser(const std::string& line);
  // The choosers of list blocks: checklists nest checklists, and ordered and
  // unordered lists nest either of those two.
  std::shared_ptr<BlockParser> selectNestedChecklist(const std::string& line);
  std::shared_ptr<BlockParser> selectNestedList(const std::string& line);

 private:
  // Whether a kind is enabled: no configuration, or its bit is set.
  bool enabled(std::uint32_t bit) const;
  // Whether a kind that needs a configuration is enabled.
  bool enabledByConfig(std::uint32_t bit) const;

  BlockParser::InlineFormatter inlineFormatter();
  std::shared_ptr<BlockParser> makeChecklist();
  std::shared_ptr<BlockParser> makeOrderedList();
  std::shared_ptr<BlockParser> makeUnorderedList();

  std::shared_ptr<ParserConfig> config;
  std::shared_ptr<LineParser> breakLineParser;
  std::shared_ptr<LineParser> emphasizedParser;
  std::shared_ptr<LineParser> imageParser;
  std::shared_ptr<LineParser> inlineCodeParser;
  std::shared_ptr<LineParser> italicParser;
  std::shared_ptr<LineParser> linkParser;
  std::shared_ptr<LineParser> strikeThroughParser;
  std::shared_ptr<LineParser> strongParser;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_PARSER_H_
