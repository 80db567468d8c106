#include "tests/fake_browser/page_directions.h"

#include <cstdlib>

namespace ondrel::test {
namespace {

// The word after each `marker` in the page, in order.
std::vector<std::string> wordsAfter(std::string_view page, std::string_view marker) {
  std::vector<std::string> words;
  for (std::size_t at = page.find(marker); at != std::string_view::npos;
       at = page.find(marker, at + 1)) {
    const std::size_t start = at + marker.size();
    const std::size_t end = page.find_first_of(" \t\r\n\"'<", start);
    words.emplace_back(page.substr(start, end == std::string_view::npos ? end : end - start));
  }
  return words;
}

std::optional<std::string> firstWordAfter(std::string_view page, std::string_view marker) {
  std::vector<std::string> words = wordsAfter(page, marker);
  if (words.empty()) return std::nullopt;
  return std::move(words.front());
}

std::optional<double> numberAfter(std::string_view page, std::string_view marker) {
  const std::size_t at = page.find(marker);
  if (at == std::string_view::npos) return std::nullopt;
  return std::atof(std::string(page.substr(at + marker.size(), 16)).c_str());
}

RendererFate fateOf(const std::optional<std::string>& word) {
  if (word == "crashes") return RendererFate::kCrashes;
  if (word == "hangs-before-load") return RendererFate::kHangsBeforeLoad;
  if (word == "hangs-after-load") return RendererFate::kHangsAfterLoad;
  if (word == "detaches") return RendererFate::kDetaches;
  return RendererFate::kRuns;
}

}  // namespace

PageDirections readPageDirections(std::string_view page) {
  PageDirections directions;
  directions.resources = wordsAfter(page, "asks-for:");
  directions.dialog = firstWordAfter(page, "dialog:");
  directions.fate = fateOf(firstWordAfter(page, "renderer:"));
  directions.contentHeight = numberAfter(page, "page-height:");
  directions.drawnHeight = numberAfter(page, "drawn-height:");
  directions.drawingNeverEnds = firstWordAfter(page, "drawing:") == "never-ends";
  return directions;
}

}  // namespace ondrel::test
