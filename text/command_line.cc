#include "text/command_line.h"

namespace ondrel {
namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::size_t skipBlanks(WideView line, std::size_t pos) {
  while (pos < line.size() && isBlank(line[pos])) ++pos;
  return pos;
}

// The program name knows no escapes: quotes only group.
std::size_t readProgram(WideView line, std::size_t pos, WideString& program) {
  if (pos < line.size() && line[pos] == u'"') {
    const std::size_t close = line.find(u'"', pos + 1);
    const std::size_t end = close == WideView::npos ? line.size() : close;
    program.assign(line.substr(pos + 1, end - pos - 1));
    return close == WideView::npos ? end : end + 1;
  }
  std::size_t end = pos;
  while (end < line.size() && !isBlank(line[end])) ++end;
  program.assign(line.substr(pos, end - pos));
  return end;
}

std::size_t readArgument(WideView line, std::size_t pos, WideString& argument) {
  bool quoted = false;
  while (pos < line.size() && (quoted || !isBlank(line[pos]))) {
    std::size_t backslashes = 0;
    while (pos < line.size() && line[pos] == u'\\') ++backslashes, ++pos;
    if (pos < line.size() && line[pos] == u'"') {
      argument.append(backslashes / 2, u'\\');
      if (backslashes % 2 == 1) {
        argument.push_back(u'"');
      } else if (quoted && pos + 1 < line.size() && line[pos + 1] == u'"') {
        argument.push_back(u'"');
        ++pos;
      } else {
        quoted = !quoted;
      }
      ++pos;
    } else {
      argument.append(backslashes, u'\\');
      if (pos < line.size() && (quoted || !isBlank(line[pos]))) argument.push_back(line[pos++]);
    }
  }
  return pos;
}

}  // namespace

std::vector<WideString> splitCommandLine(WideView line) {
  std::vector<WideString> arguments;
  std::size_t pos = skipBlanks(line, 0);
  if (pos == line.size()) return arguments;
  arguments.emplace_back();
  pos = readProgram(line, pos, arguments.back());
  while ((pos = skipBlanks(line, pos)) < line.size()) {
    arguments.emplace_back();
    pos = readArgument(line, pos, arguments.back());
  }
  return arguments;
}

}  // namespace ondrel
