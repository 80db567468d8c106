#include "capture/staging/gfm/math_syntax.h"

#include <string>
#include <string_view>

namespace ondrel {
namespace {

constexpr int kInline = 0;
constexpr int kDisplay = 1;
constexpr int kUnknown = -1;

bool isWhiteSpace(std::optional<unsigned char> c) {
  return c && (*c == ' ' || *c == '\t' || *c == '\n' || *c == '\r' || *c == '\f' || *c == '\v');
}

bool isDigit(std::optional<unsigned char> c) { return c && *c >= '0' && *c <= '9'; }

bool knownToHaveNoCloser(const int (&noCloserFrom)[2], int kind, int dollar) {
  return noCloserFrom[kind] != kUnknown && dollar >= noCloserFrom[kind];
}

// "$$" ... "$$", with something but white space between.
std::optional<MathSpan> displaySpanAt(const CharacterAt& at, int dollar, int (&noCloserFrom)[2]) {
  if (knownToHaveNoCloser(noCloserFrom, kDisplay, dollar)) return std::nullopt;
  const int start = dollar + 2;
  bool blank = true;
  for (int i = start; at(i); ++i) {
    if (at(i) == '$' && at(i + 1) == '$') {
      if (blank) return std::nullopt;
      return MathSpan{start, i, i + 2, true};
    }
    blank = blank && isWhiteSpace(at(i));
  }
  noCloserFrom[kDisplay] = dollar;
  return std::nullopt;
}

// An odd number of backslashes before `i` makes the character there TeX's own: "\$" is a
// dollar sign inside the math.
bool isEscaped(const CharacterAt& at, int i) {
  bool escaped = false;
  for (int before = i - 1; at(before) == '\\'; --before) escaped = !escaped;
  return escaped;
}

// A closing dollar of inline math: no white space before it, no digit after it, and no half of
// the "$$" of display math.
bool closesInlineMath(const CharacterAt& at, int i) {
  return at(i) == '$' && !isWhiteSpace(at(i - 1)) && !isDigit(at(i + 1)) && at(i - 1) != '$' &&
         at(i + 1) != '$' && !isEscaped(at, i);
}

std::optional<MathSpan> inlineSpanAt(const CharacterAt& at, int dollar, int (&noCloserFrom)[2]) {
  const int start = dollar + 1;
  // The second dollar of a "$$" that closes nothing opens nothing either.
  if (!at(start) || isWhiteSpace(at(start)) || at(dollar - 1) == '$') return std::nullopt;
  if (knownToHaveNoCloser(noCloserFrom, kInline, dollar)) return std::nullopt;
  for (int i = start + 1; at(i); ++i) {
    if (closesInlineMath(at, i)) return MathSpan{start, i, i + 1, false};
  }
  noCloserFrom[kInline] = dollar;
  return std::nullopt;
}

void appendEscaped(std::string& html, std::string_view source) {
  for (const char c : source) {
    switch (c) {
      case '&':
        html += "&amp;";
        break;
      case '<':
        html += "&lt;";
        break;
      case '>':
        html += "&gt;";
        break;
      case '"':
        html += "&quot;";
        break;
      default:
        html.push_back(c);
    }
  }
}

std::string spanHtml(const CharacterAt& at, const MathSpan& span) {
  std::string source;
  for (int i = span.sourceStart; i < span.sourceEnd; ++i) source.push_back(char(*at(i)));
  std::string html =
      span.display ? "<span class=\"math-display\">" : "<span class=\"math-inline\">";
  appendEscaped(html, source);
  html += "</span>";
  return html;
}

}  // namespace

std::optional<MathSpan> mathSpanAt(const CharacterAt& at, int dollar, int (&noCloserFrom)[2]) {
  if (at(dollar) != '$') return std::nullopt;
  if (at(dollar + 1) == '$') return displaySpanAt(at, dollar, noCloserFrom);
  return inlineSpanAt(at, dollar, noCloserFrom);
}

MathSyntax::MathSyntax(cmark_mem* memory)
    : memory_(memory), extension_(cmark_syntax_extension_new("ondrel-math")) {
  cmark_syntax_extension_set_private(extension_, this, nullptr);
  cmark_syntax_extension_set_match_inline_func(extension_, &MathSyntax::matchDollar);
  cmark_mem* lists = cmark_get_default_mem_allocator();
  cmark_syntax_extension_set_special_inline_chars(
      extension_, cmark_llist_append(lists, nullptr, reinterpret_cast<void*>(std::size_t('$'))));
}

MathSyntax::~MathSyntax() {
  cmark_syntax_extension_free(cmark_get_default_mem_allocator(), extension_);
}

cmark_node* MathSyntax::matchDollar(cmark_syntax_extension* extension, cmark_parser*,
                                    cmark_node* parent, unsigned char character,
                                    cmark_inline_parser* inlines) {
  if (character != '$') return nullptr;
  MathSyntax& self = *static_cast<MathSyntax*>(cmark_syntax_extension_get_private(extension));
  if (self.paragraph_ != parent) {
    self.paragraph_ = parent;
    self.noCloserFrom_[kInline] = self.noCloserFrom_[kDisplay] = kUnknown;
  }
  const int dollar = cmark_inline_parser_get_offset(inlines);
  const CharacterAt at = [inlines](int position) -> std::optional<unsigned char> {
    if (position < 0) return std::nullopt;
    cmark_inline_parser_set_offset(inlines, position);
    if (cmark_inline_parser_is_eof(inlines)) return std::nullopt;
    return cmark_inline_parser_peek_char(inlines);
  };
  const std::optional<MathSpan> span = mathSpanAt(at, dollar, self.noCloserFrom_);
  if (!span) {
    cmark_inline_parser_set_offset(inlines, dollar);
    return nullptr;
  }
  cmark_node* node = cmark_node_new_with_mem(CMARK_NODE_HTML_INLINE, self.memory_);
  cmark_node_set_literal(node, spanHtml(at, *span).c_str());
  cmark_inline_parser_set_offset(inlines, span->next);
  ++self.spansFound_;
  return node;
}

}  // namespace ondrel
