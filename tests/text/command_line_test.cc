// Splitting a command line as a Windows program's start-up code does.

#include "text/command_line.h"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

TEST(CommandLine, TheBrowsersLineSplitsIntoItsParts) {
  EXPECT_EQ(
      splitCommandLine(u"\"C:\\Program Files\\b.exe\" --headless --window-size=640,480 "
                       u"--screenshot=\"C:\\t mp\\a.png\" \"C:\\my docs\\a.html\""),
      (std::vector<WideString>{u"C:\\Program Files\\b.exe", u"--headless", u"--window-size=640,480",
                               u"--screenshot=C:\\t mp\\a.png", u"C:\\my docs\\a.html"}));
}

TEST(CommandLine, QuotingRules) {
  const std::pair<const char16_t*, std::vector<WideString>> cases[] = {
      {u"", {}},
      {u"   ", {}},
      {u"prog", {u"prog"}},
      {u"  prog  a\tb  ", {u"prog", u"a", u"b"}},
      // The program name knows no escapes.
      {u"\"C:\\dir\\\" x", {u"C:\\dir\\", u"x"}},
      {u"p a\\\\b", {u"p", u"a\\\\b"}},
      {u"p \"a b\"c", {u"p", u"a bc"}},
      {u"p a\\\"b", {u"p", u"a\"b"}},
      {u"p a\\\\\"b c\"", {u"p", u"a\\b c"}},
      {u"p \"a\"\"b\"", {u"p", u"a\"b"}},
      {u"p \"\"", {u"p", u""}},
      {u"p \"unterminated arg", {u"p", u"unterminated arg"}},
      {u"\"unterminated program", {u"unterminated program"}},
      {u"p trailing\\", {u"p", u"trailing\\"}},
  };
  for (const auto& [line, arguments] : cases) {
    EXPECT_EQ(splitCommandLine(line), arguments) << wideToUtf8(line);
  }
}

}  // namespace
}  // namespace ondrel
