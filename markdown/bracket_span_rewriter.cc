#include "markdown/bracket_span_rewriter.h"

#include <cstddef>

namespace markdown {
namespace {

constexpr std::size_t npos = std::string::npos;

// The last ")" in line[begin, end), or npos. Searches no further back than
// `begin`, unlike rfind.
std::size_t lastCloseParenthesis(const std::string& line, std::size_t begin, std::size_t end) {
  while (end > begin) {
    --end;
    if (line[end] == ')') return end;
  }
  return npos;
}

}  // namespace

void rewriteBracketSpans(std::string& line, const BracketSpan& span) {
  std::string result;
  std::size_t copied = 0;  // line[copied..] is not yet in the result
  std::size_t from = 0;
  while (true) {
    const std::size_t start = line.find(span.opener, from);
    if (start == npos) break;
    const std::size_t textBegin = start + span.opener.size();
    const std::size_t textEnd = line.find(']', textBegin);
    if (textEnd == npos) break;  // no later opener finds a "]" either
    from = textEnd + 1;
    if (textEnd + 1 >= line.size() || line[textEnd + 1] != '(') continue;
    const std::size_t addressBegin = textEnd + 2;
    std::size_t limit = line.find(']', addressBegin);
    if (limit == npos) limit = line.size();
    const std::size_t addressEnd = lastCloseParenthesis(line, addressBegin, limit);
    if (addressEnd == npos) continue;

    const std::string_view text(line.data() + textBegin, textEnd - textBegin);
    const std::string_view address(line.data() + addressBegin, addressEnd - addressBegin);
    if (copied == 0) result.reserve(line.size());
    result.append(line, copied, start - copied);
    result.append(span.beforeAddress);
    result.append(address);
    result.append(span.betweenAddressAndText);
    result.append(text);
    result.append(span.afterText);
    copied = from = addressEnd + 1;
  }
  if (copied == 0) return;
  result.append(line, copied, npos);
  line = std::move(result);
}

}  // namespace markdown
