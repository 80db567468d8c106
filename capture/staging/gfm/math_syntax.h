#ifndef ONDREL_CAPTURE_STAGING_GFM_MATH_SYNTAX_H_
#define ONDREL_CAPTURE_STAGING_GFM_MATH_SYNTAX_H_

#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <cstddef>
#include <functional>
#include <optional>

namespace ondrel {

// A stretch of math in a paragraph's text: where its source begins and ends
// (the characters between the dollars) and where the text after it begins.
struct MathSpan {
  int sourceStart = 0;
  int sourceEnd = 0;
  int next = 0;
  bool display = false;
};

// The character at a position of a paragraph's text; nothing past its end.
using CharacterAt = std::function<std::optional<unsigned char>(int position)>;

// The math that starts at the dollar at `dollar`, by GitHub's rules:
// "$$...$$" is display math; "$...$" is inline math when no white space
// stands just inside either dollar and no digit follows the closing one, so
// that "$5 and $10" stays prose, and neither dollar is half of a "$$". `noCloserFrom` remembers,
// for inline and display math, a position from which the text holds no closing dollar, so that a
// paragraph full of lone dollars is read once, not once per dollar.
std::optional<MathSpan> mathSpanAt(const CharacterAt& at, int dollar, int (&noCloserFrom)[2]);

// A cmark-gfm syntax extension of ondrel's own that reads "$...$" and
// "$$...$$" in a document's text as math: each becomes an inline raw HTML
// node, <span class="math-inline"> or <span class="math-display">, holding
// the math's source exactly as written (HTML-escaped), so that emphasis,
// escapes and entities inside it are never interpreted. Attach it to one
// parser; the extension goes with the object, after the parser.
class MathSyntax {
 public:
  // Nodes are made in `memory`, the parser's.
  explicit MathSyntax(cmark_mem* memory);
  ~MathSyntax();
  MathSyntax(const MathSyntax&) = delete;
  MathSyntax& operator=(const MathSyntax&) = delete;

  cmark_syntax_extension* extension() const { return extension_; }

  // How many stretches of math the parser found.
  std::size_t spansFound() const { return spansFound_; }

 private:
  static cmark_node* matchDollar(cmark_syntax_extension* extension, cmark_parser* parser,
                                 cmark_node* parent, unsigned char character,
                                 cmark_inline_parser* inlines);

  cmark_mem* memory_;
  cmark_syntax_extension* extension_;
  std::size_t spansFound_ = 0;
  // The paragraph the positions below belong to.
  cmark_node* paragraph_ = nullptr;
  int noCloserFrom_[2] = {0, 0};
};

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_GFM_MATH_SYNTAX_H_
