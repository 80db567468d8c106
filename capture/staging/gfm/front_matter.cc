#include "capture/staging/gfm/front_matter.h"

#include <algorithm>
#include <utility>

namespace ondrel {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimStart(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view trimEnd(std::string_view text) {
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view trim(std::string_view text) { return trimStart(trimEnd(text)); }

bool isBlankLine(std::string_view line) { return trimStart(line).empty(); }

std::size_t indentationOf(std::string_view line) { return line.size() - trimStart(line).size(); }

// A line of the document without its line end, and where the next line starts.
struct Line {
  std::string_view text;
  std::size_t next;
};

Line lineAt(std::string_view document, std::size_t start) {
  const std::size_t end = document.find('\n', start);
  const std::size_t next = end == std::string_view::npos ? document.size() : end + 1;
  std::string_view text = document.substr(start, next - start);
  if (text.ends_with('\n')) text.remove_suffix(1);
  if (text.ends_with('\r')) text.remove_suffix(1);
  return {text, next};
}

// An entry as its lines stand: the key, what follows the key's colon on its line, and the
// lines after it up to the next entry.
struct WrittenEntry {
  std::string key;
  std::string_view sameLine;
  std::vector<std::string_view> lines;
};

// Where a double-quoted scalar that starts `text` ends, past its closing quote; npos when it
// does not end on the line.
std::size_t endOfQuoted(std::string_view text) {
  const char quote = text.front();
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (quote == '"' && text[i] == '\\') {
      ++i;
    } else if (text[i] == quote) {
      if (quote == '\'' && i + 1 < text.size() && text[i + 1] == '\'') {
        ++i;
      } else {
        return i + 1;
      }
    }
  }
  return std::string_view::npos;
}

std::string unquoted(std::string_view quoted) {
  const char quote = quoted.front();
  const std::string_view inner = quoted.substr(1, quoted.size() - 2);
  std::string text;
  for (std::size_t i = 0; i < inner.size(); ++i) {
    if (quote == '\'' && inner[i] == '\'') {
      ++i;  // '' stands for '
    } else if (quote == '"' && inner[i] == '\\' && i + 1 < inner.size()) {
      const char escaped = inner[++i];
      text += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
      continue;
    }
    text += inner[i];
  }
  return text;
}

bool startsQuoted(std::string_view text) {
  return !text.empty() && (text.front() == '"' || text.front() == '\'');
}

// The key and the rest of a line that starts an entry: "key: value", "key:", or a quoted key.
std::optional<std::pair<std::string, std::string_view>> entryStart(std::string_view line) {
  if (line.empty() || isBlank(line.front()) || line.front() == '#') return std::nullopt;
  if (line == "-" || line.starts_with("- ")) return std::nullopt;
  std::size_t colon;
  std::string key;
  if (startsQuoted(line)) {
    colon = endOfQuoted(line);
    if (colon == std::string_view::npos || colon >= line.size() || line[colon] != ':') {
      return std::nullopt;
    }
    key = unquoted(line.substr(0, colon));
  } else {
    colon = 0;
    while ((colon = line.find(':', colon)) != std::string_view::npos) {
      if (colon + 1 == line.size() || isBlank(line[colon + 1])) break;
      ++colon;
    }
    if (colon == std::string_view::npos) return std::nullopt;
    key = std::string(trimEnd(line.substr(0, colon)));
  }
  if (colon + 1 < line.size() && !isBlank(line[colon + 1])) return std::nullopt;
  return std::pair{std::move(key), trim(line.substr(colon + 1))};
}

std::vector<WrittenEntry> writtenEntries(const std::vector<std::string_view>& lines) {
  std::vector<WrittenEntry> entries;
  for (const std::string_view line : lines) {
    if (line.starts_with('#')) continue;  // a comment of the mapping's own
    if (auto start = entryStart(line)) {
      entries.push_back({std::move(start->first), start->second, {}});
    } else if (!entries.empty()) {
      entries.back().lines.push_back(line);
    } else if (!isBlankLine(line)) {
      entries.push_back({std::string(), std::string_view(), {line}});
    }
  }
  return entries;
}

// A plain or quoted scalar as YAML reads it: without its quotes, or without a trailing comment.
std::string scalar(std::string_view text) {
  if (startsQuoted(text)) {
    const std::size_t end = endOfQuoted(text);
    if (end != std::string_view::npos) return unquoted(text.substr(0, end));
    return std::string(text);
  }
  for (std::size_t hash = text.find('#'); hash != std::string_view::npos;
       hash = text.find('#', hash + 1)) {
    if (hash > 0 && isBlank(text[hash - 1])) return std::string(trimEnd(text.substr(0, hash)));
  }
  return std::string(text);
}

// "|" or ">", with a chomping sign and an indentation digit, and a comment.
bool isBlockScalarStart(std::string_view text) {
  if (text.empty() || (text.front() != '|' && text.front() != '>')) return false;
  std::size_t i = 1;
  while (i < text.size() &&
         (text[i] == '+' || text[i] == '-' || (text[i] >= '0' && text[i] <= '9'))) {
    ++i;
  }
  const std::string_view rest = trimStart(text.substr(i));
  return rest.empty() || rest.front() == '#';
}

// The lines less the indentation they all share, the blank ones empty.
std::vector<std::string_view> dedented(const std::vector<std::string_view>& lines) {
  std::size_t common = std::string_view::npos;
  for (const std::string_view line : lines) {
    if (!isBlankLine(line)) common = std::min(common, indentationOf(line));
  }
  std::vector<std::string_view> result;
  for (const std::string_view line : lines) {
    result.push_back(isBlankLine(line) ? std::string_view() : line.substr(common));
  }
  return result;
}

std::string joinedByLines(const std::vector<std::string_view>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

// Lines folded as YAML folds them: a space between lines, a line end for an empty line.
std::string folded(std::string text, const std::vector<std::string_view>& lines) {
  for (const std::string_view line : lines) {
    if (line.empty()) {
      text += '\n';
      continue;
    }
    if (!text.empty() && text.back() != '\n') text += ' ';
    text += trim(line);
  }
  return text;
}

std::string valueOf(const WrittenEntry& entry) {
  std::vector<std::string_view> lines = entry.lines;
  while (!lines.empty() && isBlankLine(lines.back())) lines.pop_back();
  if (lines.empty()) return scalar(entry.sameLine);
  const std::vector<std::string_view> block = dedented(lines);
  if (isBlockScalarStart(entry.sameLine)) {
    return entry.sameLine.front() == '|' ? joinedByLines(block) : folded(std::string(), block);
  }
  if (entry.sameLine.empty()) return joinedByLines(block);
  return scalar(folded(std::string(entry.sameLine), block));
}

// NUL bytes would end the text where the page is made; the parser replaces them likewise.
std::string withoutNul(std::string text) {
  for (std::size_t at = text.find('\0'); at != std::string::npos; at = text.find('\0', at)) {
    text.replace(at, 1, kReplacementCharacter);
  }
  return text;
}

bool isFence(std::string_view line, std::string_view fence) { return trimEnd(line) == fence; }

}  // namespace

std::optional<FrontMatter> splitFrontMatter(std::string_view document) {
  std::size_t start = document.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
  const Line opening = lineAt(document, start);
  if (!isFence(opening.text, "---")) return std::nullopt;
  std::vector<std::string_view> lines;
  for (start = opening.next; start < document.size();) {
    const Line line = lineAt(document, start);
    if (isFence(line.text, "---") || isFence(line.text, "...")) {
      FrontMatter frontMatter;
      for (const WrittenEntry& entry : writtenEntries(lines)) {
        frontMatter.entries.push_back({withoutNul(entry.key), withoutNul(valueOf(entry))});
      }
      frontMatter.rest = document.substr(line.next);
      return frontMatter;
    }
    lines.push_back(line.text);
    start = line.next;
  }
  return std::nullopt;
}

}  // namespace ondrel
