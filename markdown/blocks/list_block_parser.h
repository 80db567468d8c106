#ifndef ONDREL_MARKDOWN_BLOCKS_LIST_BLOCK_PARSER_H_
#define ONDREL_MARKDOWN_BLOCKS_LIST_BLOCK_PARSER_H_

#include <span>
#include <string>
#include <string_view>

#include "markdown/block_parser.h"

namespace markdown {

// The markup that tells the list kinds apart.
struct ListMarkup {
  std::string_view opening;    // before the first item
  std::string_view separator;  // between two items
  std::string_view closing;    // after the last item
  // A line holding one of these at this list's level ends the list; nested
  // lists end on their parent's separator or closing markup this way.
  std::span<const std::string_view> endMarkers;
};

// The scheme shared by checklists, ordered and unordered lists. Every
// decision is made on the text of the line: the first line opens the list, a
// line indented by two or more white-space characters loses two of them and
// goes one level deeper (to a nested list, or as text of the current item), a
// line that is empty once its marker is gone or that carries an end marker
// closes the list, an item line starts a new item, and anything else
// continues the current item. Lines then take the standard intake, so a line
// may open a nested list of a kind that makeNestedBlock allows.
class ListBlockParser : public BlockParser {
 public:
  bool isDone() const override { return done; }
  bool acceptsNestedBlocks() const override { return true; }
  bool appliesInlineFormatting() const override { return true; }
  void transformLine(std::string& line) override;

 protected:
  ListBlockParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock,
                  const ListMarkup& markup);

  // Whether the line, as received, starts a new item of this kind.
  virtual bool isItem(const std::string& line) const = 0;
  // Removes or replaces the kind's item marker at the start of the line.
  virtual void removeMarkers(std::string& line) const = 0;

 private:
  bool endsList(const std::string& line) const;

  bool opened = false;
  bool done = false;
  const ListMarkup& markup;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BLOCKS_LIST_BLOCK_PARSER_H_
