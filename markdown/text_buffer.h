#ifndef ONDREL_MARKDOWN_TEXT_BUFFER_H_
#define ONDREL_MARKDOWN_TEXT_BUFFER_H_

#include <string>
#include <string_view>
#include <vector>

namespace markdown {

// An append-only text held as a sequence of pieces. A block takes over the
// whole text of a finished nested block by moving its pieces, not by copying
// its characters, so text handed up through many nesting levels is copied
// once, when the document's result is assembled, instead of once per level.
class TextBuffer {
 public:
  void append(std::string_view text);
  // Takes over all of `other`'s text, leaving `other` empty.
  void append(TextBuffer&& other);
  // Appends the whole text to `out`.
  void appendTo(std::string& out) const;

 private:
  std::vector<std::string> pieces_;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_TEXT_BUFFER_H_
