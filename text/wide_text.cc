#include "text/wide_text.h"

namespace ondrel {
namespace {

char16_t foldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c; }

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf16(WideString& out, char32_t code) {
  if (code < 0x10000) {
    out.push_back(char16_t(code));
  } else {
    code -= 0x10000;
    out.push_back(char16_t(0xD800 + (code >> 10)));
    out.push_back(char16_t(0xDC00 + (code & 0x3FF)));
  }
}

void appendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out.push_back(char(code));
  } else if (code < 0x800) {
    out.push_back(char(0xC0 | (code >> 6)));
    out.push_back(char(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(char(0xE0 | (code >> 12)));
    out.push_back(char(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(char(0x80 | (code & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (code >> 18)));
    out.push_back(char(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(char(0x80 | (code & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at `pos`, advancing it; malformed input yields
// the replacement character and consumes one byte.
char32_t decodeUtf8(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  int extra;
  char32_t code;
  char32_t minimum;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, code = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, code = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, code = lead & 0x07, minimum = 0x10000;
  } else {
    return kReplacement;
  }
  std::size_t next = pos;
  for (int i = 0; i < extra; ++i, ++next) {
    if (next >= text.size()) return kReplacement;
    const auto byte = static_cast<unsigned char>(text[next]);
    if ((byte & 0xC0) != 0x80) return kReplacement;
    code = (code << 6) | (byte & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return kReplacement;
  pos = next;
  return code;
}

// The one well-formed sequence that decodes to the replacement character.
constexpr std::size_t kReplacementLength = 3;

}  // namespace

bool equalsIgnoringAsciiCase(WideView a, WideView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (foldAscii(a[i]) != foldAscii(b[i])) return false;
  }
  return true;
}

WideString widenAscii(std::string_view ascii) { return WideString(ascii.begin(), ascii.end()); }

WideString utf8ToWide(std::string_view utf8) {
  WideString wide;
  wide.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) appendUtf16(wide, decodeUtf8(utf8, pos));
  return wide;
}

std::string wideToUtf8(WideView wide) {
  std::string utf8;
  utf8.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char32_t code = wide[i];
    const bool high = code >= 0xD800 && code <= 0xDBFF;
    if (high && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (wide[++i] - 0xDC00);
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = kReplacement;
    }
    appendUtf8(utf8, code);
  }
  return utf8;
}

bool isWellFormedUtf8(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t start = pos;
    if (decodeUtf8(bytes, pos) == kReplacement && pos - start != kReplacementLength) return false;
  }
  return true;
}

WideString utf16FromBytes(std::string_view bytes, ByteOrder order) {
  const int first = order == ByteOrder::kLittleEndian ? 0 : 1;
  WideString wide;
  wide.reserve(bytes.size() / 2 + 1);
  std::size_t pos = 0;
  for (; pos + 1 < bytes.size(); pos += 2) {
    const auto low = static_cast<unsigned char>(bytes[pos + first]);
    const auto high = static_cast<unsigned char>(bytes[pos + 1 - first]);
    wide.push_back(char16_t(high << 8 | low));
  }
  if (pos < bytes.size()) wide.push_back(char16_t(kReplacement));
  return wide;
}

}  // namespace ondrel
