#include "capture/staging/base_element.h"

#include <string_view>

namespace ondrel {
namespace {

// A file URL escapes these already; the attribute must hold whatever URL
// it is given all the same.
void appendAttributeValue(std::string& html, std::string_view value) {
  for (const char c : value) {
    switch (c) {
      case '&':
        html += "&amp;";
        break;
      case '"':
        html += "&quot;";
        break;
      case '<':
        html += "&lt;";
        break;
      case '>':
        html += "&gt;";
        break;
      default:
        html.push_back(c);
    }
  }
}

}  // namespace

std::string baseLineFor(const std::optional<std::string>& folderUrl) {
  if (!folderUrl) return {};
  std::string line = "<base href=\"";
  appendAttributeValue(line, *folderUrl);
  line += "\">\n";
  return line;
}

}  // namespace ondrel
