#include "capture/page_kind_sniffing.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>

namespace ondrel {
namespace {

enum class Encoding { kBytes, kUtf16Little, kUtf16Big };

// Stands for every character outside ASCII: no markup and no white space.
constexpr char kOtherCharacter = '\x80';

// The image after its byte-order mark, read as characters: ASCII as itself,
// anything else as kOtherCharacter.
class SniffedText {
 public:
  explicit SniffedText(std::span<const std::uint8_t> bytes) : units_(bytes) {
    if (startsWith({0xEF, 0xBB, 0xBF})) {
      units_ = units_.subspan(3);
    } else if (startsWith({0xFF, 0xFE})) {
      units_ = units_.subspan(2);
      encoding_ = Encoding::kUtf16Little;
    } else if (startsWith({0xFE, 0xFF})) {
      units_ = units_.subspan(2);
      encoding_ = Encoding::kUtf16Big;
    }
  }

  std::size_t size() const {
    return encoding_ == Encoding::kBytes ? units_.size() : units_.size() / 2;
  }

  char operator[](std::size_t i) const {
    const unsigned unit = this->unit(i);
    return unit < 0x80 ? char(unit) : kOtherCharacter;
  }

  // No NUL among the image's first kTextTestBytes bytes.
  bool isText() const {
    const std::size_t tested = encoding_ == Encoding::kBytes ? kTextTestBytes : kTextTestBytes / 2;
    for (std::size_t i = 0; i < size() && i < tested; ++i) {
      if (unit(i) == 0) return false;
    }
    return true;
  }

 private:
  bool startsWith(std::initializer_list<std::uint8_t> mark) const {
    return units_.size() >= mark.size() && std::equal(mark.begin(), mark.end(), units_.begin());
  }

  unsigned unit(std::size_t i) const {
    switch (encoding_) {
      case Encoding::kUtf16Little:
        return units_[2 * i] | unsigned(units_[2 * i + 1]) << 8;
      case Encoding::kUtf16Big:
        return unsigned(units_[2 * i]) << 8 | units_[2 * i + 1];
      case Encoding::kBytes:
        break;
    }
    return units_[i];
  }

  std::span<const std::uint8_t> units_;
  Encoding encoding_ = Encoding::kBytes;
};

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool endsName(char c) { return isSpace(c) || c == '>' || c == '/' || c == '['; }

bool equalsAnyCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

// Reads the markup before a text's first element, and that element's name.
class PrologueReader {
 public:
  explicit PrologueReader(const SniffedText& text) : text_(text) {}

  // Moves past white space, an XML declaration, processing instructions,
  // comments and a doctype; the doctype's name, when one was passed. False
  // when one of them does not end.
  bool skipPrologue(std::string& doctypeName) {
    for (;;) {
      skipSpace();
      if (startsWith("<?", false)) {
        if (!skipPast("?>")) return false;
      } else if (startsWith("<!--", false)) {
        if (!skipPast("-->")) return false;
      } else if (startsWith("<!doctype", true)) {
        at_ += 9;
        if (at_ >= text_.size() || !isSpace(text_[at_])) return false;
        skipSpace();
        doctypeName = readName();
        if (!skipDoctypeRest()) return false;
      } else {
        return true;
      }
    }
  }

  // The name of the element that starts here, or empty.
  std::string elementName() {
    if (!startsWith("<", false)) return {};
    ++at_;
    const std::string name = readName();
    const bool delimited = at_ == text_.size() || endsName(text_[at_]);
    return delimited ? name : std::string();
  }

 private:
  void skipSpace() {
    while (at_ < text_.size() && isSpace(text_[at_])) ++at_;
  }

  bool startsWith(std::string_view word, bool anyCase) const {
    if (text_.size() - at_ < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      const char c = text_[at_ + i];
      if ((anyCase ? lowerAscii(c) : c) != word[i]) return false;
    }
    return true;
  }

  bool skipPast(std::string_view end) {
    for (; at_ < text_.size(); ++at_) {
      if (startsWith(end, false)) {
        at_ += end.size();
        return true;
      }
    }
    return false;
  }

  std::string readName() {
    std::string name;
    // Names longer than any that decides are cut; only the kind matters.
    for (; at_ < text_.size() && !endsName(text_[at_]); ++at_) {
      if (name.size() < 64) name.push_back(text_[at_]);
    }
    return name;
  }

  // Up to and past the doctype's '>', over quoted literals and an internal
  // subset in brackets, whose own quotes and comments may hold '>' and ']'.
  bool skipDoctypeRest() {
    bool inSubset = false;
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '"' || c == '\'') {
        ++at_;
        if (!skipPast(std::string_view(&c, 1))) return false;
      } else if (inSubset && startsWith("<!--", false)) {
        if (!skipPast("-->")) return false;
      } else {
        ++at_;
        if (c == '[') inSubset = true;
        if (c == ']') inSubset = false;
        if (c == '>' && !inSubset) return true;
      }
    }
    return false;
  }

  const SniffedText& text_;
  std::size_t at_ = 0;
};

// The element's name after any namespace prefix.
std::string_view localName(std::string_view name) {
  const std::size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::optional<PageKind> markupKind(const SniffedText& text) {
  PrologueReader reader(text);
  std::string doctype;
  if (!reader.skipPrologue(doctype)) return std::nullopt;
  if (equalsAnyCase(doctype, "html")) return PageKind::kHtml;
  const std::string element = reader.elementName();
  for (const std::string_view htmlElement : {"html", "head", "body"}) {
    if (equalsAnyCase(element, htmlElement)) return PageKind::kHtml;
  }
  if (localName(element) == "svg") return PageKind::kSvgDrawing;
  return std::nullopt;
}

}  // namespace

std::optional<PageKind> sniffPageKind(std::span<const std::uint8_t> bytes) {
  const SniffedText text(bytes);
  if (const std::optional<PageKind> kind = markupKind(text)) return kind;
  if (text.isText()) return PageKind::kMarkdown;
  return std::nullopt;
}

}  // namespace ondrel
