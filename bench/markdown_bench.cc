// The converter's cost against input size on the inputs that would make a
// backtracking or naively nested implementation blow up. Each benchmark
// reports its complexity fit; all of them should come out O(N).

#include <cstddef>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include <benchmark/benchmark.h>

#include "markdown/block_parser.h"
#include "markdown/parser.h"
#include "markdown/parser_config.h"

namespace {

// Repeats `piece` until the text holds at least `size` bytes.
std::string fill(const std::string& piece, std::size_t size) {
  std::string text;
  text.reserve(size + piece.size());
  while (text.size() < size) text += piece;
  return text;
}

void convertRepeatedly(benchmark::State& state, const std::string& document) {
  markdown::Parser parser(std::make_shared<markdown::ParserConfig>());
  for (auto _ : state) {
    std::istringstream input(document);
    benchmark::DoNotOptimize(parser.convert(input));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.size()));
  state.SetComplexityN(state.range(0));
}

// One paragraph line dense in every inline marker.
void BM_MarkerHeavyLine(benchmark::State& state) {
  const std::size_t size = static_cast<std::size_t>(state.range(0));
  convertRepeatedly(state, fill("**a*_b_~~c~~`d`<code>[e](f)![g](h)\r*i*", size));
}

// Emphasis markers followed by one backtick at the very end: every marker's
// code guard has to look at the whole rest of the line.
void BM_GuardedLine(benchmark::State& state) {
  const std::size_t size = static_cast<std::size_t>(state.range(0));
  convertRepeatedly(state, fill("*a_b~~c**d__", size) + "`");
}

// Link openers that never close: every "[" searches for its "]".
void BM_UnclosedLinks(benchmark::State& state) {
  const std::size_t size = static_cast<std::size_t>(state.range(0));
  convertRepeatedly(state, "x" + fill("[a](b", size));
}

// One line of quote markers, nested as deep as the converter allows.
void BM_DeepQuotes(benchmark::State& state) {
  const std::size_t size = static_cast<std::size_t>(state.range(0));
  convertRepeatedly(
      state, std::string(size, '>') + "x" + std::string(markdown::kMaxNestingDepth + 1, '\n'));
}

// Lists indented deeper than the nesting cap, again and again.
void BM_DeepLists(benchmark::State& state) {
  std::string staircase;
  for (int level = 0; level < markdown::kMaxNestingDepth + 44; ++level) {
    staircase += std::string(2 * level, ' ') + "- item " + std::to_string(level) + "\n";
  }
  staircase += "\n";
  convertRepeatedly(state, fill(staircase, static_cast<std::size_t>(state.range(0))));
}

// An ordinary document of every block kind, repeated.
void BM_LargeDocument(benchmark::State& state) {
  const std::string chunk =
      "# Title\n"
      "Some **bold** and *italic* text with `code` and a [link](http://example.org).\n"
      "More text on a second line, ~~struck~~ and __strong__.\n"
      "\n"
      "- item\n"
      "  1. nested\n"
      "  2. nested\n"
      "- [ ] not a checklist inside bullets\n"
      "\n"
      "- [x] done\n"
      "  - [ ] open\n"
      "\n"
      "> quoted **text**\n"
      ">\n"
      "> - quoted list\n"
      "\n"
      "\n"
      "|table>\n"
      "h1|h2\n"
      "- | - | -\n"
      "a|b\n"
      "|<table\n"
      "```cpp\n"
      "int main() { return 0; }\n"
      "```\n"
      "---\n";
  convertRepeatedly(state, fill(chunk, static_cast<std::size_t>(state.range(0))));
}

constexpr std::int64_t kSmallest = 1 << 14;
constexpr std::int64_t kLargest = 1 << 22;

BENCHMARK(BM_MarkerHeavyLine)
    ->RangeMultiplier(4)
    ->Range(kSmallest, kLargest)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_GuardedLine)
    ->RangeMultiplier(4)
    ->Range(kSmallest, kLargest)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_UnclosedLinks)
    ->RangeMultiplier(4)
    ->Range(kSmallest, kLargest)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_DeepQuotes)->RangeMultiplier(4)->Range(kSmallest, kLargest)->Complexity(benchmark::oN);
BENCHMARK(BM_DeepLists)->RangeMultiplier(4)->Range(1 << 18, 1 << 24)->Complexity(benchmark::oN);
BENCHMARK(BM_LargeDocument)
    ->RangeMultiplier(4)
    ->Range(kSmallest, kLargest)
    ->Complexity(benchmark::oN);

}  // namespace
