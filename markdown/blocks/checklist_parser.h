#ifndef ONDREL_MARKDOWN_BLOCKS_CHECKLIST_PARSER_H_
#define ONDREL_MARKDOWN_BLOCKS_CHECKLIST_PARSER_H_

#include <string>

#include "markdown/blocks/list_block_parser.h"

namespace markdown {

// A list of checkbox items, "- [ ] open" and "- [x] checked". Holds nested
// checklists only.
class ChecklistParser : public ListBlockParser {
 public:
  ChecklistParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock);

  // A full match of "^- \[[x| ]\] .*".
  static bool startsBlock(const std::string& line);
  // In order: "^(- )" removed, "^\[ \]" replaced by <input type="checkbox"/>,
  // "^\[x\]" replaced by <input type="checkbox" checked="checked"/>.
  static void removeItemMarkers(std::string& line);

 protected:
  bool isItem(const std::string& line) const override { return startsBlock(line); }
  void removeMarkers(std::string& line) const override { removeItemMarkers(line); }
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BLOCKS_CHECKLIST_PARSER_H_
