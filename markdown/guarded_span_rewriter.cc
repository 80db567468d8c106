#include "markdown/guarded_span_rewriter.h"

#include "markdown/code_guard.h"

namespace markdown {
namespace {

bool hasMarkerAt(std::string_view line, std::size_t position, const GuardedSpan& span) {
  if (position + span.markerLength > line.size()) return false;
  for (std::size_t i = 0; i < span.markerLength; ++i) {
    if (line[position + i] != span.marker) return false;
  }
  return true;
}

}  // namespace

void rewriteGuardedSpans(std::string& line, const GuardedSpan& span) {
  if (line.find(span.marker) == std::string::npos) return;
  const CodeGuard guard(line);
  std::string result;
  std::size_t copied = 0;  // line[copied..] is not yet in the result
  std::size_t from = 0;
  while (true) {
    const std::size_t start = line.find(span.marker, from);
    if (start == std::string::npos) break;
    from = start + 1;
    const std::size_t bodyBegin = start + span.markerLength;
    if (!hasMarkerAt(line, start, span) || guard.blocksOpening(start) ||
        guard.blocksClosing(bodyBegin)) {
      continue;
    }
    const std::size_t bodyEnd = line.find(span.marker, bodyBegin);
    // Without a marker character after the opening one no later start can
    // close either.
    if (bodyEnd == std::string::npos) break;
    const std::size_t end = bodyEnd + span.markerLength;
    if (!hasMarkerAt(line, bodyEnd, span) || guard.blocksClosing(end)) continue;

    if (copied == 0) result.reserve(line.size());
    result.append(line, copied, start - copied);
    result.append(span.openTag);
    result.append(line, bodyBegin, bodyEnd - bodyBegin);
    result.append(span.closeTag);
    copied = from = end;
  }
  if (copied == 0) return;
  result.append(line, copied, std::string::npos);
  line = std::move(result);
}

}  // namespace markdown
