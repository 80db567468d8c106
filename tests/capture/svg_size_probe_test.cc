#include "capture/svg/svg_size_probe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ondrel {

void PrintTo(const PictureSize& size, std::ostream* out) {
  *out << size.width << " x " << size.height;
}

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

std::span<const std::uint8_t> bytesOf(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::optional<PictureSize> probeText(std::string_view text) { return probeSvgSize(bytesOf(text)); }

struct SizeCase {
  std::string svg;
  PictureSize expected;
};

void expectSizes(const std::vector<SizeCase>& cases) {
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.svg);
    EXPECT_EQ(probeText(c.svg), c.expected);
  }
}

// Behaviour that holds whichever reader does the measuring.

TEST(SvgSizeProbe, RoundsDeclaredSizeUpToWholePixels) {
  expectSizes({
      {R"(<svg xmlns="http://www.w3.org/2000/svg" width="100.2" height="50"/>)", {101, 50}},
      {R"(<svg xmlns="http://www.w3.org/2000/svg" width="300" height="300"/>)", {300, 300}},
      {R"(<svg xmlns="http://www.w3.org/2000/svg" width="1in" height="72pt"/>)", {96, 96}},
  });
}

TEST(SvgSizeProbe, HugeSizesSaturate) {
  expectSizes({
      {R"(<svg width="1e30" height="-1e30"/>)", {kMax, kMin}},
      {R"(<svg width="4294967296" height="-4294967296"/>)", {kMax, kMin}},
  });
}

TEST(SvgSizeProbe, TextWithoutDrawingMeasuresZero) {
  expectSizes({{"", {0, 0}}, {"just some words", {0, 0}}, {"\x89PNG\r\n\x1a\n", {0, 0}}});
  EXPECT_EQ(probeSvgSize({}), (PictureSize{0, 0}));
}

TEST(SvgSizeProbe, LeavesCallersBytesUnchanged) {
  const std::string text =
      R"(<?xml version="1.0"?><!-- x --><svg width="10mm" height='7' viewBox="0 0 1 1">)"
      R"(<path d="M0 0L1 1"/></svg>)";
  const std::vector<std::uint8_t> original(text.begin(), text.end());
  std::vector<std::uint8_t> bytes = original;
  EXPECT_EQ(probeSvgSize(bytes), (PictureSize{38, 7}));
  EXPECT_EQ(bytes, original);
}

TEST(CeilToWholePixels, RoundsUpAndSaturatesAtTheInt32Range) {
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  const struct {
    float pixels;
    std::int32_t expected;
  } cases[] = {
      {0.0f, 0},
      {-0.0f, 0},
      {1e-30f, 1},
      {0.5f, 1},
      {-0.5f, 0},
      {-1.5f, -1},
      {100.2f, 101},
      {300.0f, 300},
      {2147483520.0f, 2147483520},  // the largest float below 2^31
      {2147483648.0f, kMax},
      {1e30f, kMax},
      {kInfinity, kMax},
      {-2147483648.0f, kMin},
      {-2147483904.0f, kMin},  // the next float below -2^31
      {-1e30f, kMin},
      {-kInfinity, kMin},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pixels);
    EXPECT_EQ(ceilToWholePixels(c.pixels), c.expected);
  }
  EXPECT_FALSE(ceilToWholePixels(std::nanf("")).has_value());
}

// The built-in reader's own rules.

class BuiltinSvgReader : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ONDREL_SVG_READER_NANOSVG) GTEST_SKIP() << "built with nanosvg";
  }
};

TEST_F(BuiltinSvgReader, MeasuresRealWorldDocuments) {
  expectSizes({
      {R"(<?xml version="1.0" encoding="UTF-8" standalone="no"?>
<!-- Created with a vector editor -->

<svg
   width="210mm"
   height="297mm"
   viewBox="0 0 210 297"
   version="1.1"
   id="svg5"
   editor:version="1.2.2"
   xmlns:editor="http://example.org/namespaces/editor"
   xmlns="http://www.w3.org/2000/svg"
   xmlns:svg="http://www.w3.org/2000/svg">
  <defs id="defs2" />
</svg>
)",
       {794, 1123}},
      {R"(<?xml version="1.0" encoding="utf-8"?>
<!-- Generator: a print design suite, SVG Export Plug-In  -->
<!DOCTYPE svg PUBLIC "-//W3C//DTD SVG 1.1//EN" "http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd" [
	<!ENTITY ns_extend "http://ns.example.com/Extensibility/1.0/">
	<!ENTITY compare "a > b ] c">
	<!-- don't end here: ]> -->
	<?pi with ]> inside?>
	<!ATTLIST svg note CDATA 'x>y'>
]>
<svg version="1.1" id="Layer_1" xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" x="0px" y="0px"
	 viewBox="0 0 595.3 841.9" style="enable-background:new 0 0 595.3 841.9;" xml:space="preserve">
<rect width="10" height="10"/>
</svg>
)",
       {596, 842}},
      {"\xEF\xBB\xBF  \r\n<?xml-stylesheet href=\"a.css\" type=\"text/css\"?>\n"
       R"(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" fill="none">)",
       {24, 24}},
      {R"(<svg:svg xmlns:svg="http://www.w3.org/2000/svg" width="40" height="30"/>)", {40, 30}},
      {R"(<!-- <svg width="1" height="1"> --><svg width="5" height="6"/>)", {5, 6}},
      {R"(<svg width="100" height="50"><svg width="999" height="999"/></svg>)", {100, 50}},
  });
}

TEST_F(BuiltinSvgReader, ReadsAttributesInAnyForm) {
  expectSizes({
      {R"(<svg height="20" viewBox="0 0 1 1" width="10">)", {10, 20}},
      {"<svg\r\n\twidth = \"64\"\r\n\theight\t=\t'48'\r\n>", {64, 48}},
      {R"(<svg width='12' height='8'>)", {12, 8}},
      {R"(<svg data-x="a>b" title='say "hi"' width="10" height="20">)", {10, 20}},
      {R"(<svg stroke-width="3" data-height="9" svg:width="7" viewBox="0 0 30 40">)", {30, 40}},
      {R"(<svg width="1" height="2" width="3" height="4">)", {3, 4}},
      {R"(<svg hidden width=10 height=20>)", {10, 20}},
      {R"(<svg width="10" height="20")", {10, 20}},
  });
}

TEST_F(BuiltinSvgReader, DecodesReferencesInValues) {
  expectSizes({
      {R"(<svg width="&#49;&#48;&#48;" height="&#x31;&#x30;">)", {100, 10}},
      {R"(<svg width="1&#x2E;5" height="&#49;&#x2e;&#53;&#101;&#50;">)", {2, 150}},
      {R"(<svg viewBox="0&#x20;0&#9;300&#44;150">)", {300, 150}},
      {R"(<svg width="5&#48;&#x25;" height="7&amp;" viewBox="0 0 33 44">)", {33, 7}},
      // Malformed or non-ASCII references are no digits.
      {R"(<svg width="&#;5" height="&#x110000;5" viewBox="0 0 33 44">)", {33, 44}},
      {R"(<svg width="&#x3000000000000000031;" height="&#160;1" viewBox="0 0 33 44">)", {33, 44}},
      {R"(<svg width="&nbsp;5" height="&lt;5" viewBox="0 0 33 44">)", {33, 44}},
  });
}

TEST_F(BuiltinSvgReader, ConvertsUnitsAt96Dpi) {
  const struct {
    std::string_view width;
    std::int32_t expected;
  } cases[] = {
      {"300px", 300}, {"72pt", 96},   {"6pc", 96},      {"25.4mm", 96}, {"2.54cm", 96},
      {"1in", 96},    {"210mm", 794}, {"2.5e-1in", 24}, {" 12 ", 12},   {"12 px", 12},
      {"10em", 10},   {"10ex", 10},   {"10foo", 10},    {"1e2", 100},   {"1E2px", 100},
      {"+5", 5},      {".5", 1},      {"5.", 5},        {"1e", 1},      {"0.0001", 1},
      {"-20", -20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    const std::string svg = "<svg width=\"" + std::string(c.width) + "\" height=\"1\">";
    EXPECT_EQ(probeText(svg), (PictureSize{c.expected, 1}));
  }
}

TEST_F(BuiltinSvgReader, MissingPercentOrZeroSizeFallsBackToViewBox) {
  for (std::string_view width : {"", "auto", "50%", "50 %", "%", "0", "-0", "0mm", "px", "."}) {
    SCOPED_TRACE(width);
    const std::string svg =
        "<svg width=\"" + std::string(width) + "\" height=\"7\" viewBox=\"0 0 333 444\">";
    EXPECT_EQ(probeText(svg), (PictureSize{333, 7}));
  }
  expectSizes({
      {R"(<svg viewBox="0 0 300 150">)", {300, 150}},
      {R"(<svg viewBox="0,0,300,150">)", {300, 150}},
      {R"(<svg viewBox=" 0 , 0 , 300 , 150 ">)", {300, 150}},
      {R"(<svg viewBox="-10 -10 1e2 5e1">)", {100, 50}},
      {R"(<svg viewBox="0 0 100.5 .5">)", {101, 1}},
      {R"(<svg viewBox="0 0 300">)", {300, 0}},
      {R"(<svg viewBox="0 0 300 bogus">)", {300, 0}},
      {R"(<svg viewBox="">)", {0, 0}},
      {R"(<svg>)", {0, 0}},
  });
}

TEST_F(BuiltinSvgReader, ExtremeNumbersSaturate) {
  const std::string manyZeros(400, '0');
  expectSizes({
      {R"(<svg width="1e400" height="-1e400">)", {kMax, kMin}},
      {R"(<svg width="1e99999999999999999999" height="1e38in">)", {kMax, kMax}},
      {R"(<svg width="1e-400" height="1e-99999999999999999999">)", {0, 0}},
      {"<svg width=\"1" + manyZeros + "\" height=\"0." + manyZeros + "1e405\">", {kMax, 10000}},
      {"<svg width=\"1" + manyZeros + "e-398\" height=\"" + manyZeros + "7\">", {100, 7}},
  });
}

TEST_F(BuiltinSvgReader, OnlyAnSvgRootElementIsADrawing) {
  expectSizes({
      {R"(<html><body><svg width="10" height="10"></svg></body></html>)", {0, 0}},
      {R"(<svgfoo width="10" height="10">)", {0, 0}},
      {R"(< svg width="10" height="10">)", {0, 0}},
      {R"(</svg><svg width="10" height="10">)", {0, 0}},
      {std::string("\0<svg width=\"5\" height=\"5\">", 27), {0, 0}},
      {"<", {0, 0}},
      {"<svg", {0, 0}},
      {"<svg width=", {0, 0}},
      {"<svg width='10", {0, 0}},
      {R"(<svg height="5" width="10)", {0, 5}},
      {"<!--", {0, 0}},
      {"<!DOCTYPE svg [ <!ENTITY x '>'>", {0, 0}},
      {"<?xml", {0, 0}},
      {R"(junk before the root <svg width="4" height="3">)", {4, 3}},
  });
}

TEST_F(BuiltinSvgReader, ReadsOnlyTheGivenBytes) {
  const std::string text = R"(<svg height="5" width=123>)";
  const std::size_t upToTwelve = text.find("123") + 2;
  EXPECT_EQ(probeSvgSize(bytesOf(text).first(upToTwelve)), (PictureSize{12, 5}));
}

// Every truncation of a document, and arbitrary bytes rich in markup
// characters, must be measured without reading outside the text (which the
// sanitizer build checks).
TEST_F(BuiltinSvgReader, ToleratesTruncatedAndArbitraryText) {
  const std::string document =
      "\xEF\xBB\xBF<?xml version='1.0'?><!DOCTYPE svg [<!ENTITY a \"]>\"><!--]>--><?p ]>?>]>"
      "<!-- c --><svg:svg a='\"' width=\"&#49;&#48;mm\" height = '2.5e1pt' "
      "viewBox=\"0, 0, 1e1 .5\" b=c/>";
  for (std::size_t length = 0; length <= document.size(); ++length) {
    SCOPED_TRACE(length);
    ASSERT_TRUE(probeSvgSize(bytesOf(document).first(length)).has_value());
  }
  EXPECT_EQ(probeText(document), (PictureSize{38, 34}));

  static constexpr char kAlphabet[] = "<>!?-[]'\"=&#x;:/ \nsvgwidthviewBox0123456789.eE+%\0\xFF";
  const std::string_view alphabet(kAlphabet, sizeof kAlphabet - 1);
  std::mt19937 random(20240601);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  for (int round = 0; round < 2000; ++round) {
    std::string text(round % 64, '\0');
    for (char& c : text) c = alphabet[pick(random)];
    SCOPED_TRACE(text);
    ASSERT_TRUE(probeText(text).has_value());
  }
}

}  // namespace
}  // namespace ondrel
