#ifndef ONDREL_CAPTURE_STAGING_GFM_FRONT_MATTER_H_
#define ONDREL_CAPTURE_STAGING_GFM_FRONT_MATTER_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrel {

struct FrontMatterEntry {
  std::string key;
  // The value as text: a plain or quoted scalar as YAML reads it, a block scalar's lines, or
  // for a nested value (a list, a mapping, a flow collection) its lines as written, less their
  // common indentation, one per line.
  std::string value;
};

// The YAML block that Jekyll, Hugo and Obsidian notes begin with: the document's first line is
// "---" and the block runs to the next line that is "---" or "..." (trailing blanks allowed;
// after a UTF-8 byte-order mark, LF or CR LF line ends).
struct FrontMatter {
  // The top-level mapping's entries, in order. A line that starts no entry belongs to the
  // entry before it; lines before the first entry form one without a key.
  std::vector<FrontMatterEntry> entries;
  // The document after the block's closing line.
  std::string_view rest;
};

// The document's front matter; nothing when it has none.
std::optional<FrontMatter> splitFrontMatter(std::string_view document);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_GFM_FRONT_MATTER_H_
