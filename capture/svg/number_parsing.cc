#include "capture/svg/number_parsing.h"

#include <charconv>
#include <cstddef>
#include <limits>

#include "capture/svg/xml_characters.h"

namespace ondrel {
namespace {

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

}  // namespace

std::optional<double> parseLength(std::string_view text) {
  text = trimXmlSpace(text);
  const std::optional<ScannedNumber> number = scanNumber(text);
  if (!number) return std::nullopt;
  const std::string_view unit = trimXmlSpace(text.substr(number->length));
  if (unit.starts_with('%')) return std::nullopt;
  return number->value * pixelsPerUnit(unit);
}

std::pair<double, double> parseViewBoxSize(std::string_view text) {
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

}  // namespace ondrel
