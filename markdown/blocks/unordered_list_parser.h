#ifndef ONDREL_MARKDOWN_BLOCKS_UNORDERED_LIST_PARSER_H_
#define ONDREL_MARKDOWN_BLOCKS_UNORDERED_LIST_PARSER_H_

#include <string>

#include "markdown/blocks/list_block_parser.h"

namespace markdown {

// A bulleted list of items marked "+ ", "* " or "- ". Holds nested ordered
// and unordered lists.
class UnorderedListParser : public ListBlockParser {
 public:
  UnorderedListParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock);

  // A full match of "^[+*-] .*"; also the item test.
  static bool startsBlock(const std::string& line);
  // "^([+*-] )" removed.
  static void removeItemMarkers(std::string& line);

 protected:
  bool isItem(const std::string& line) const override { return startsBlock(line); }
  void removeMarkers(std::string& line) const override { removeItemMarkers(line); }
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BLOCKS_UNORDERED_LIST_PARSER_H_
