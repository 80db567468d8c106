#include "capture/staging/drawing_page.h"

namespace ondrel {
namespace {

// File URLs escape every character that could end an attribute.
void addStyleSheet(std::string& head, const DrawingAssets& assets, const char* file) {
  head += "<link rel=\"stylesheet\" href=\"" + assets.url(file) + "\">\n";
}

void addScript(std::string& head, const DrawingAssets& assets, const char* file) {
  head += "<script src=\"" + assets.url(file) + "\"></script>\n";
}

}  // namespace

DrawingNeeds drawableNeeds(DrawingNeeds needs, const DrawingAssets& assets) {
  return DrawingNeeds{.code = needs.code && assets.highlight,
                      .math = needs.math && assets.katex,
                      .diagrams = needs.diagrams && assets.mermaid};
}

std::string drawingHead(DrawingNeeds needs, const DrawingAssets& assets) {
  if (!needs.any()) return {};
  std::string head;
  if (needs.code) addStyleSheet(head, assets, asset::kHighlightStyle);
  if (needs.math) addStyleSheet(head, assets, asset::kKatexStyle);
  head += "<style>\n";
  head += drawingStyle();
  head += "</style>\n";
  if (needs.code) addScript(head, assets, asset::kHighlightScript);
  if (needs.math) addScript(head, assets, asset::kKatexScript);
  if (needs.diagrams) addScript(head, assets, asset::kMermaidScript);
  return head;
}

std::string drawingTail(DrawingNeeds needs) {
  if (!needs.any()) return {};
  std::string tail = "<script>\n";
  tail += drawingScript();
  tail += "</script>\n";
  return tail;
}

}  // namespace ondrel
