// Measures a drawing from its root element's width, height and viewBox
// attributes, without building a document. The text is untrusted: every scan
// moves forward only, stops at the NUL and never recurses, so any bytes are
// read in linear time.
#include <charconv>
#include <cstdint>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "capture/svg_dimensions.h"

namespace ondrel {
namespace {

bool isXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Compares one character at a time, so it never looks past a NUL.
bool startsWith(const char* at, std::string_view prefix) {
  for (char c : prefix) {
    if (*at != c) return false;
    ++at;
  }
  return true;
}

// The position just past `terminator`, or the NUL when the text ends first.
const char* skipPast(const char* at, std::string_view terminator) {
  while (*at != '\0' && !startsWith(at, terminator)) ++at;
  return *at == '\0' ? at : at + terminator.size();
}

const char* skipQuoted(const char* quote) {
  const char* at = quote + 1;
  while (*at != '\0' && *at != *quote) ++at;
  return *at == '\0' ? at : at + 1;
}

// Skips a declaration such as a DOCTYPE from just after its "<!". Its internal
// subset may hold '>' inside quoted text, comments and processing
// instructions, none of which ends the declaration.
const char* skipDeclaration(const char* at) {
  bool inSubset = false;
  while (*at != '\0') {
    if (*at == '"' || *at == '\'') {
      at = skipQuoted(at);
    } else if (inSubset && startsWith(at, "<!--")) {
      at = skipPast(at + 4, "-->");
    } else if (inSubset && startsWith(at, "<?")) {
      at = skipPast(at + 2, "?>");
    } else {
      const char c = *at++;
      if (c == '[') inSubset = true;
      if (c == ']') inSubset = false;
      if (c == '>' && !inSubset) return at;
    }
  }
  return at;
}

// The name of the first element, starting just after its '<', or nullptr when
// the text has none. Text outside markup before it (whitespace, a byte order
// mark, stray bytes) is passed over.
const char* findFirstElement(const char* at) {
  while (*at != '\0') {
    if (*at != '<') {
      ++at;
    } else if (startsWith(at, "<?")) {
      at = skipPast(at + 2, "?>");
    } else if (startsWith(at, "<!--")) {
      at = skipPast(at + 4, "-->");
    } else if (startsWith(at, "<!")) {
      at = skipDeclaration(at + 2);
    } else {
      return at + 1;
    }
  }
  return nullptr;
}

bool endsName(char c) { return c == '\0' || isXmlSpace(c) || c == '/' || c == '>'; }

// The raw values of the attributes that size the drawing, as written in the
// start tag; a repeated attribute keeps its last value.
struct SizeAttributes {
  std::optional<std::string_view> width;
  std::optional<std::string_view> height;
  std::optional<std::string_view> viewBox;
};

void keepSizeAttribute(std::string_view name, std::string_view value, SizeAttributes& kept) {
  if (name == "width") kept.width = value;
  if (name == "height") kept.height = value;
  if (name == "viewBox") kept.viewBox = value;
}

// Reads an attribute value from its opening quote, or its first character
// when it is unquoted, and moves `at` past it. Nothing when the closing quote
// is missing.
std::optional<std::string_view> readAttributeValue(const char*& at) {
  if (*at != '"' && *at != '\'') {
    const char* start = at;
    while (*at != '\0' && *at != '>' && !isXmlSpace(*at)) ++at;
    return std::string_view(start, at - start);
  }
  const char quote = *at++;
  const char* start = at;
  while (*at != '\0' && *at != quote) ++at;
  if (*at == '\0') return std::nullopt;
  return std::string_view(start, at++ - start);
}

// Reads the start tag's attributes from just after the element name up to
// its '>'. Unquoted values and names without values are tolerated; a value
// whose closing quote is missing ends the tag.
SizeAttributes readSizeAttributes(const char* at) {
  SizeAttributes kept;
  for (;;) {
    while (isXmlSpace(*at) || *at == '/') ++at;
    if (*at == '\0' || *at == '>') return kept;
    const char* nameStart = at;
    while (!endsName(*at) && *at != '=') ++at;
    const std::string_view name(nameStart, at - nameStart);
    while (isXmlSpace(*at)) ++at;
    if (*at != '=') continue;
    ++at;
    while (isXmlSpace(*at)) ++at;
    const std::optional<std::string_view> value = readAttributeValue(at);
    if (!value) return kept;
    keepSizeAttribute(name, *value, kept);
  }
}

// Characters outside ASCII can be neither part of a number nor of a unit; a
// byte that UTF-8 never uses stands in for them.
constexpr char kNonAsciiStandIn = '\xFF';

// Decodes the character reference after "&#" in `raw`. Gives the character
// and the length of the reference, or nothing when it is malformed.
std::optional<std::pair<char, std::size_t>> decodeCharacterReference(std::string_view raw) {
  std::size_t at = 2;
  unsigned base = 10;
  if (at < raw.size() && raw[at] == 'x') {
    base = 16;
    ++at;
  }
  const std::size_t digitsStart = at;
  std::uint32_t code = 0;
  for (; at < raw.size(); ++at) {
    const char c = raw[at];
    unsigned digit;
    if (isDigit(c)) {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      break;
    }
    if (code <= 0x10FFFF) code = code * base + digit;
  }
  if (at == digitsStart || at == raw.size() || raw[at] != ';') return std::nullopt;
  const char c = code > 0 && code < 0x80 ? static_cast<char>(code) : kNonAsciiStandIn;
  return std::pair{c, at + 1};
}

// Decodes the predefined entity reference after '&' in `raw`.
std::optional<std::pair<char, std::size_t>> decodeEntityReference(std::string_view raw) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  for (const auto& [reference, c] : kEntities) {
    if (raw.starts_with(reference)) return std::pair{c, reference.size()};
  }
  return std::nullopt;
}

// Replaces character references and the predefined entities; any other '&'
// stays as written. Each failed reference is rescanned at most once, so the
// work stays linear.
std::string decodeReferences(std::string_view raw) {
  std::string decoded;
  decoded.reserve(raw.size());
  while (!raw.empty()) {
    std::optional<std::pair<char, std::size_t>> reference;
    if (raw.starts_with("&#")) {
      reference = decodeCharacterReference(raw);
    } else if (raw.starts_with('&')) {
      reference = decodeEntityReference(raw);
    }
    const auto [c, length] = reference.value_or(std::pair{raw.front(), std::size_t{1}});
    decoded += c;
    raw.remove_prefix(length);
  }
  return decoded;
}

std::string_view trimXmlSpace(std::string_view text) {
  while (!text.empty() && isXmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isXmlSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::size_t countDigits(std::string_view text, std::size_t from) {
  std::size_t end = from;
  while (end < text.size() && isDigit(text[end])) ++end;
  return end - from;
}

struct ScannedNumber {
  double value;
  std::size_t length;
};

// Where the leading number's digits lie and its decimal exponent.
struct NumberSyntax {
  std::size_t mantissaStart;  // after the sign
  std::size_t integerDigits;
  std::size_t fractionStart;  // just after the point, if any
  std::size_t fractionDigits;
  long long exponent;  // clamped far beyond anything a float holds
  std::size_t length;
};

// The SVG number syntax: optional sign, digits with an optional fraction (one
// side of the point may be empty), optional exponent. An 'e' not followed by
// digits belongs to the unit, as in "2em".
std::optional<NumberSyntax> scanNumberSyntax(std::string_view text) {
  NumberSyntax syntax{};
  std::size_t at = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  syntax.mantissaStart = at;
  syntax.integerDigits = countDigits(text, at);
  at += syntax.integerDigits;
  syntax.fractionStart = at;
  if (at < text.size() && text[at] == '.') {
    syntax.fractionStart = at + 1;
    syntax.fractionDigits = countDigits(text, at + 1);
    if (syntax.integerDigits + syntax.fractionDigits > 0) at += 1 + syntax.fractionDigits;
  }
  if (syntax.integerDigits + syntax.fractionDigits == 0) return std::nullopt;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    std::size_t digitsStart = at + 1;
    const bool negative = digitsStart < text.size() && text[digitsStart] == '-';
    if (digitsStart < text.size() && (text[digitsStart] == '+' || negative)) ++digitsStart;
    const std::size_t digits = countDigits(text, digitsStart);
    for (std::size_t i = digitsStart; i < digitsStart + digits; ++i) {
      if (syntax.exponent < 1'000'000) syntax.exponent = syntax.exponent * 10 + (text[i] - '0');
    }
    if (negative) syntax.exponent = -syntax.exponent;
    if (digits > 0) at = digitsStart + digits;
  }
  syntax.length = at;
  return syntax;
}

// The power of ten just above the number's size (3 for 300, -1 for 0.05), or
// nothing when every digit is 0.
std::optional<long long> decimalMagnitude(std::string_view text, const NumberSyntax& syntax) {
  for (std::size_t i = 0; i < syntax.integerDigits; ++i) {
    if (text[syntax.mantissaStart + i] != '0') {
      return static_cast<long long>(syntax.integerDigits - i) + syntax.exponent;
    }
  }
  for (std::size_t i = 0; i < syntax.fractionDigits; ++i) {
    if (text[syntax.fractionStart + i] != '0') {
      return -static_cast<long long>(i) + syntax.exponent;
    }
  }
  return std::nullopt;
}

// Reads the number at the start of `text`. Numbers far beyond a float's range
// become infinities or zeros before conversion, which therefore never fails.
std::optional<ScannedNumber> scanNumber(std::string_view text) {
  const std::optional<NumberSyntax> syntax = scanNumberSyntax(text);
  if (!syntax) return std::nullopt;
  const double sign = text.front() == '-' ? -1.0 : 1.0;
  const std::optional<long long> magnitude = decimalMagnitude(text, *syntax);
  if (!magnitude || *magnitude < -60) return ScannedNumber{sign * 0.0, syntax->length};
  if (*magnitude > 40) {
    return ScannedNumber{sign * std::numeric_limits<double>::infinity(), syntax->length};
  }
  double value = 0;
  std::from_chars(text.data() + syntax->mantissaStart, text.data() + syntax->length, value);
  return ScannedNumber{sign * value, syntax->length};
}

double pixelsPerUnit(std::string_view unit) {
  static constexpr std::pair<std::string_view, double> kUnits[] = {
      {"px", 1.0},         {"pt", 96.0 / 72.0}, {"pc", 96.0 / 6.0},
      {"mm", 96.0 / 25.4}, {"cm", 96.0 / 2.54}, {"in", 96.0}};
  for (const auto& [name, pixels] : kUnits) {
    if (unit == name) return pixels;
  }
  // Like nanosvg, which the reader stands in for: other units count as pixels.
  return 1.0;
}

// A width or height attribute in pixels; nothing when it is a percentage or
// not a number, which leaves the size to the view box.
std::optional<double> parseLength(std::string_view raw) {
  const std::string decoded = decodeReferences(raw);
  const std::string_view text = trimXmlSpace(decoded);
  const std::optional<ScannedNumber> number = scanNumber(text);
  if (!number) return std::nullopt;
  const std::string_view unit = trimXmlSpace(text.substr(number->length));
  if (unit.starts_with('%')) return std::nullopt;
  return number->value * pixelsPerUnit(unit);
}

// The view box's width and height: its third and fourth numbers, separated by
// whitespace and/or commas. Numbers it lacks count as 0.
std::pair<double, double> parseViewBoxSize(std::string_view raw) {
  const std::string decoded = decodeReferences(raw);
  std::string_view text = decoded;
  double numbers[4] = {};
  for (double& number : numbers) {
    while (!text.empty() && (isXmlSpace(text.front()) || text.front() == ',')) {
      text.remove_prefix(1);
    }
    const std::optional<ScannedNumber> scanned = scanNumber(text);
    if (!scanned) break;
    number = scanned->value;
    text.remove_prefix(scanned->length);
  }
  return {numbers[2], numbers[3]};
}

// Narrows to a float; values beyond its range become infinities instead of
// undefined behaviour.
float toFloat(double value) {
  constexpr double kLargest = std::numeric_limits<float>::max();
  if (value > kLargest) return std::numeric_limits<float>::infinity();
  if (value < -kLargest) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

// Like nanosvg, a side that is missing or measures 0 takes the view box's.
float sideLength(const std::optional<std::string_view>& attribute, double viewBoxSide) {
  const std::optional<double> length = attribute ? parseLength(*attribute) : std::nullopt;
  const float pixels = length ? toFloat(*length) : 0.0f;
  return pixels != 0.0f ? pixels : toFloat(viewBoxSide);
}

SvgDimensions measureRootElement(const char* text) {
  const char* name = findFirstElement(text);
  if (name == nullptr) return {0.0f, 0.0f};
  const char* nameEnd = name;
  while (!endsName(*nameEnd)) ++nameEnd;
  // Any namespace prefix is accepted, as in <svg:svg>.
  const std::string_view qualifiedName(name, nameEnd - name);
  if (qualifiedName.substr(qualifiedName.rfind(':') + 1) != "svg") return {0.0f, 0.0f};

  const SizeAttributes attributes = readSizeAttributes(nameEnd);
  const auto [viewBoxWidth, viewBoxHeight] =
      attributes.viewBox ? parseViewBoxSize(*attributes.viewBox) : std::pair{0.0, 0.0};
  return {sideLength(attributes.width, viewBoxWidth), sideLength(attributes.height, viewBoxHeight)};
}

}  // namespace

std::optional<SvgDimensions> measureSvgDimensions(char* text) {
  try {
    return measureRootElement(text);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace ondrel
