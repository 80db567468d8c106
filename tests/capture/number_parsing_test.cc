#include "capture/svg/number_parsing.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string_view>
#include <utility>

namespace ondrel {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Whole-pixel rounding downstream hides fractions and where a number ends, so
// both are checked here on the unrounded values.
TEST(ParseLength, ReadsTheNumberThenItsUnit) {
  const struct {
    std::string_view text;
    double expected;
  } cases[] = {
      {"12.75", 12.75},
      {"0.1", 0.1},
      {"-1.25E+2px", -125},
      {"+.5e1", 5},
      {"1.e2", 100},
      {"5.", 5},
      {" \t\r\n3in \n", 288},
      {"3 mm", 3 * (96 / 25.4)},
      {"1e-in", 1},
      {"2e+mm", 2},
      {"1e%", 1},
      {"7.5.5pt", 7.5},
      {"1e-400", 0},
      {"-1e400", -kInfinity},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parseLength(c.text), c.expected);
  }
}

TEST(ParseLength, PercentagesAndTextWithoutANumberGiveNothing) {
  for (std::string_view text :
       {"", " ", ".", "+", "-", "+-1", "--1", "e5", ".e1", "px", "%", "50%", "50 %", "1e2%",
        "\xFF"
        "5"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(parseLength(text), std::nullopt);
  }
}

TEST(ParseViewBoxSize, TakesTheThirdAndFourthNumbers) {
  const struct {
    std::string_view text;
    std::pair<double, double> expected;
  } cases[] = {
      {"0 0 300 150", {300, 150}},
      {" ,, 1 ,,2,, 3e1,,4e-1 ", {30, 0.4}},
      {"1 2 3 4 5", {3, 4}},
      // A sign or a second point starts the next number.
      {"0 0-1.5-2.5", {-1.5, -2.5}},
      {"0 0 1.5.5", {1.5, 0.5}},
      // An exponent without digits is not a number, so the list ends there.
      {"0 0 1e+ 5", {1, 0}},
      {"0 0 2em 4", {2, 0}},
      {"0 0 300", {300, 0}},
      {"0 0 x 4", {0, 0}},
      {"", {0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parseViewBoxSize(c.text), c.expected);
  }
}

}  // namespace
}  // namespace ondrel
