#include "markdown/text_buffer.h"

#include <iterator>

namespace markdown {

void TextBuffer::append(std::string_view text) {
  if (text.empty()) return;
  if (pieces_.empty()) pieces_.emplace_back();
  pieces_.back().append(text);
}

void TextBuffer::append(TextBuffer&& other) {
  if (pieces_.empty()) {
    pieces_ = std::move(other.pieces_);
  } else {
    pieces_.insert(pieces_.end(), std::make_move_iterator(other.pieces_.begin()),
                   std::make_move_iterator(other.pieces_.end()));
  }
  other.pieces_.clear();
  // Start a new piece for what follows, so that a large piece taken over is
  // never grown (and reallocated) by later small appends.
  pieces_.emplace_back();
}

void TextBuffer::appendTo(std::string& out) const {
  for (const std::string& piece : pieces_) out += piece;
}

}  // namespace markdown
