// Fuzzes the command-line splitter with arbitrary UTF-16 lines (two bytes a
// code unit, low byte first, so any code unit can occur) and checks that the
// split is faithful: the arguments quoted again by the Windows rules split
// back into the same arguments.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "text/command_line.h"

namespace {

using ondrel::WideString;
using ondrel::WideView;

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool needsQuotes(WideView argument) {
  if (argument.empty()) return true;
  for (char16_t c : argument) {
    if (isBlank(c) || c == u'"') return true;
  }
  return false;
}

// The program name knows no escapes, so it is quoted only when it holds white
// space or is empty; a split never gives one that holds both a blank and a
// double quote.
void appendProgram(WideString& line, WideView program) {
  bool blank = program.empty();
  for (char16_t c : program) blank = blank || isBlank(c);
  if (!blank) {
    line += program;
    return;
  }
  line += u'"';
  line += program;
  line += u'"';
}

// Backslashes are doubled where a double quote follows them, including the
// closing one, and each double quote is escaped.
void appendArgument(WideString& line, WideView argument) {
  line += u' ';
  if (!needsQuotes(argument)) {
    line += argument;
    return;
  }
  line += u'"';
  std::size_t backslashes = 0;
  for (char16_t c : argument) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    if (c == u'"') {
      line.append(2 * backslashes + 1, u'\\');
    } else {
      line.append(backslashes, u'\\');
    }
    backslashes = 0;
    line += c;
  }
  line.append(2 * backslashes, u'\\');
  line += u'"';
}

WideString quote(const std::vector<WideString>& arguments) {
  WideString line;
  appendProgram(line, arguments.front());
  for (std::size_t i = 1; i < arguments.size(); ++i) appendArgument(line, arguments[i]);
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WideString line;
  for (std::size_t i = 0; i + 1 < size; i += 2) line += char16_t(data[i] | data[i + 1] << 8);

  const std::vector<WideString> arguments = ondrel::splitCommandLine(line);
  if (arguments.empty()) return 0;
  const WideString quoted = quote(arguments);
  if (ondrel::splitCommandLine(quoted) != arguments) {
    std::fprintf(stderr, "splitting the quoted line \"%s\" gives other arguments\n",
                 ondrel::wideToUtf8(quoted).c_str());
    std::abort();
  }
  return 0;
}
