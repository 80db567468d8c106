#ifndef ONDREL_CAPTURE_STAGING_GFM_DRAWING_NEEDS_H_
#define ONDREL_CAPTURE_STAGING_GFM_DRAWING_NEEDS_H_

#include <cmark-gfm.h>

namespace ondrel {

// What a page must load scripts for to draw its document: highlighted code
// (fenced blocks with a language), math, and Mermaid diagrams.
struct DrawingNeeds {
  bool code = false;
  bool math = false;
  bool diagrams = false;

  bool any() const { return code || math || diagrams; }
};

// The fenced blocks under `root` that ask for drawing: "```math" is math,
// "```mermaid" a diagram, any other language code to highlight, whose
// language is the info string's first word. Math in the text is counted by
// the parser that found it (math_syntax.h), not here.
DrawingNeeds drawingNeedsOfBlocks(cmark_node* root);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_GFM_DRAWING_NEEDS_H_
