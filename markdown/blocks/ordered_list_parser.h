#ifndef ONDREL_MARKDOWN_BLOCKS_ORDERED_LIST_PARSER_H_
#define ONDREL_MARKDOWN_BLOCKS_ORDERED_LIST_PARSER_H_

#include <string>

#include "markdown/blocks/list_block_parser.h"

namespace markdown {

// A numbered list, opened by "1. " only; later items may carry any number or
// "* ". Item numbers are not kept. Holds nested ordered and unordered lists.
class OrderedListParser : public ListBlockParser {
 public:
  OrderedListParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock);

  // A full match of "^1\. .*".
  static bool startsBlock(const std::string& line);
  // A full match of "^(?:[1-9]+[0-9]*\. |\* ).*".
  static bool isItemLine(const std::string& line);
  // In order: "^[1-9]+[0-9]*\. " removed, then "^\* " removed.
  static void removeItemMarkers(std::string& line);

 protected:
  bool isItem(const std::string& line) const override { return isItemLine(line); }
  void removeMarkers(std::string& line) const override { removeItemMarkers(line); }
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BLOCKS_ORDERED_LIST_PARSER_H_
