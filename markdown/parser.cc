#include "markdown/parser.h"

#include <utility>

#include "markdown/block_start_patterns.h"
#include "markdown/blocks/checklist_parser.h"
#include "markdown/blocks/code_block_parser.h"
#include "markdown/blocks/headline_parser.h"
#include "markdown/blocks/horizontal_line_parser.h"
#include "markdown/blocks/html_parser.h"
#include "markdown/blocks/latex_block_parser.h"
#include "markdown/blocks/ordered_list_parser.h"
#include "markdown/blocks/quote_parser.h"
#include "markdown/blocks/table_parser.h"
#include "markdown/blocks/unordered_list_parser.h"
#include "markdown/break_line_parser.h"
#include "markdown/emphasized_parser.h"
#include "markdown/image_parser.h"
#include "markdown/inline_code_parser.h"
#include "markdown/italic_parser.h"
#include "markdown/line_scan.h"
#include "markdown/link_parser.h"
#include "markdown/paragraph_parser.h"
#include "markdown/strike_through_parser.h"
#include "markdown/strong_parser.h"

namespace markdown {
namespace {

template <typename Kind>
std::shared_ptr<LineParser> makeIf(bool wanted) {
  return wanted ? std::make_shared<Kind>() : nullptr;
}

}  // namespace

Parser::Parser(std::shared_ptr<ParserConfig> config) : config(std::move(config)) {
  if (this->config && !this->config->keepEmphasizedBit) {
    this->config->parserMask &= ~ENABLE_EMPHASIZED;
  }
  if (this->config && !this->config->keepHtmlBit) this->config->parserMask |= ENABLE_HTML;
  breakLineParser = makeIf<BreakLineParser>(enabled(ENABLE_BREAK_LINE));
  emphasizedParser = makeIf<EmphasizedParser>(enabled(ENABLE_EMPHASIZED));
  imageParser = makeIf<ImageParser>(enabled(ENABLE_IMAGE));
  inlineCodeParser = makeIf<InlineCodeParser>(enabled(ENABLE_INLINE_CODE));
  italicParser = makeIf<ItalicParser>(enabled(ENABLE_ITALIC));
  linkParser = makeIf<LinkParser>(enabled(ENABLE_LINK));
  strikeThroughParser = makeIf<StrikeThroughParser>(enabled(ENABLE_STRIKE_THROUGH));
  strongParser = makeIf<StrongParser>(enabled(ENABLE_STRONG));
}

std::string Parser::convert(std::istream& input) {
  std::string result;
  std::shared_ptr<BlockParser> block;
  std::string line;
  while (std::getline(input, line)) {
    if (!block) block = selectBlockParser(line);
    if (!block) continue;
    block->feedLine(line);
    if (block->isDone()) {
      block->appendOutputTo(result);
      block.reset();
    }
  }
  if (block) {
    std::string finalLine;
    block->feedLine(finalLine);
    if (block->isDone()) block->appendOutputTo(result);
  }
  return result;
}

void Parser::runInlineParsers(std::string& line) {
  // Images before links, so that an image never turns into "!" and a link;
  // the guarded emphasis kinds before inline code meet code spans in
  // backticks, italics after it meet them as tags, and line breaks go last.
  for (LineParser* inlineParser :
       {imageParser.get(), linkParser.get(), strongParser.get(), emphasizedParser.get(),
        strikeThroughParser.get(), inlineCodeParser.get(), italicParser.get(),
        breakLineParser.get()}) {
    if (inlineParser) inlineParser->rewrite(line);
  }
}

std::shared_ptr<BlockParser> Parser::selectBlockParser(const std::string& line) {
  if (enabled(ENABLE_CODE_BLOCK) && opensCodeBlock(line)) {
    return std::make_shared<CodeBlockParser>(nullptr, nullptr);
  }
  if (enabledByConfig(ENABLE_LATEX_BLOCK) && opensLatexBlock(line)) {
    return std::make_shared<LatexBlockParser>(nullptr, nullptr);
  }
  if (enabled(ENABLE_HEADLINE) && opensHeadline(line)) {
    const bool inlineFormatting = !config || config->inlineInHeadlines;
    return std::make_shared<HeadlineParser>(inlineFormatting ? inlineFormatter() : nullptr, nullptr,
                                            inlineFormatting);
  }
  if (enabled(ENABLE_HORIZONTAL_LINE) && isHorizontalRule(line)) {
    return std::make_shared<HorizontalLineParser>(nullptr, nullptr);
  }
  if (enabled(ENABLE_QUOTE) && opensQuote(line)) {
    return std::make_shared<QuoteParser>(
        inlineFormatter(), [this](const std::string& nested) { return selectBlockParser(nested); });
  }
  if (enabled(ENABLE_TABLE) && opensTable(line)) {
    return std::make_shared<TableParser>(inlineFormatter(), nullptr);
  }
  if (enabled(ENABLE_CHECKLIST) && ChecklistParser::startsBlock(line)) return makeChecklist();
  if (enabled(ENABLE_ORDERED_LIST) && OrderedListParser::startsBlock(line)) {
    return makeOrderedList();
  }
  if (enabled(ENABLE_UNORDERED_LIST) && UnorderedListParser::startsBlock(line)) {
    return makeUnorderedList();
  }
  if (enabledByConfig(ENABLE_HTML) && startsWith(line, "<")) {
    return std::make_shared<HtmlParser>(nullptr, nullptr);
  }
  if (line.empty()) return nullptr;
  return std::make_shared<ParagraphParser>(inlineFormatter(), nullptr, enabled(ENABLE_PARAGRAPH));
}

std::shared_ptr<BlockParser> Parser::selectNestedChecklist(const std::string& line) {
  if (enabled(ENABLE_CHECKLIST) && ChecklistParser::startsBlock(line)) return makeChecklist();
  return nullptr;
}

std::shared_ptr<BlockParser> Parser::selectNestedList(const std::string& line) {
  if (enabled(ENABLE_ORDERED_LIST) && OrderedListParser::startsBlock(line)) {
    return makeOrderedList();
  }
  if (enabled(ENABLE_UNORDERED_LIST) && UnorderedListParser::startsBlock(line)) {
    return makeUnorderedList();
  }
  return nullptr;
}

bool Parser::enabled(std::uint32_t bit) const { return !config || (config->parserMask & bit); }

bool Parser::enabledByConfig(std::uint32_t bit) const {
  return config && (config->parserMask & bit);
}

BlockParser::InlineFormatter Parser::inlineFormatter() {
  return [this](std::string& line) { runInlineParsers(line); };
}

std::shared_ptr<BlockParser> Parser::makeChecklist() {
  return std::make_shared<ChecklistParser>(
      inlineFormatter(), [this](const std::string& line) { return selectNestedChecklist(line); });
}

std::shared_ptr<BlockParser> Parser::makeOrderedList() {
  return std::make_shared<OrderedListParser>(
      inlineFormatter(), [this](const std::string& line) { return selectNestedList(line); });
}

std::shared_ptr<BlockParser> Parser::makeUnorderedList() {
  return std::make_shared<UnorderedListParser>(
      inlineFormatter(), [this](const std::string& line) { return selectNestedList(line); });
}

}  // namespace markdown
