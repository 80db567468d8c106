// Markdown conversions on many threads at once, one Parser each, as viewers
// that load several documents side by side make them. Whatever the converter
// shares between parsers must be made once and then only read; the
// ThreadSanitizer build (preset "tsan") reports any other sharing. cmark-gfm,
// which that build does not instrument, shares a table of the whole process
// while it parses: only the results can show that sharing.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <latch>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "capture/staging/gfm/gfm_html.h"
#include "markdown/parser.h"
#include "markdown/parser_config.h"

namespace ondrel::test {
namespace {

constexpr int kThreads = 8;
constexpr int kConversionsPerThread = 20;

// The sample holds every block kind the converter knows but LaTeX, which
// follows it here.
std::string documentWithEveryBlockKind() {
  std::ifstream sample(ONDREL_SAMPLE_MARKDOWN, std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(sample), std::istreambuf_iterator<char>()};
  return text + "\n\n$$\n\\int_0^1 x^2 \\, dx = \\frac{1}{3}\n$$\n";
}

std::string convert(const std::string& document) {
  auto config = std::make_shared<markdown::ParserConfig>();
  config->parserMask =
      markdown::kDefaultParserMask | markdown::ENABLE_HTML | markdown::ENABLE_LATEX_BLOCK;
  markdown::Parser parser(config);
  std::istringstream input(document);
  return parser.convert(input);
}

TEST(ConcurrentConversions, EveryThreadGetsTheSingleThreadedResult) {
  const std::string document = documentWithEveryBlockKind();
  ASSERT_GT(document.size(), 1000u) << "the sample document was not found";

  // All threads start together, so that whatever the converter makes on
  // first use is made while the others already want it; the single-threaded
  // result is taken only afterwards.
  std::latch start(kThreads);
  std::vector<std::vector<std::string>> results(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      start.arrive_and_wait();
      for (int round = 0; round < kConversionsPerThread; ++round) {
        results[std::size_t(i)].push_back(convert(document));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  const std::string expected = convert(document);
  for (const char* mark :
       {"<h1>", "<ul>", "<ol>", "class=\"checklist\"", "<blockquote>", "<table>",
        "<pre class=\"cpp\">", "<hr/>", "<div class=\"note\">", "\\frac{1}{3}"}) {
    EXPECT_NE(expected.find(mark), std::string::npos) << "the document shows no " << mark;
  }
  for (int i = 0; i < kThreads; ++i) {
    ASSERT_EQ(results[std::size_t(i)].size(), std::size_t(kConversionsPerThread));
    for (const std::string& html : results[std::size_t(i)]) {
      ASSERT_EQ(html, expected) << "thread " << i;
    }
  }
}

// Lines whose strikethrough and autolinks cmark-gfm finds only while its
// extensions' characters are marked in its table of the whole process.
std::string githubDocument() {
  std::string document = "---\ntitle: Many threads\n---\n> [!NOTE]\n> Boxed[^n].\n\n";
  for (int line = 0; line < 200; ++line) {
    document += "~~struck~~ www.example.org me@example.net | a | ~b~\n";
  }
  return document + "\n[^n]: Note.\n";
}

TEST(ConcurrentConversions, GithubFlavouredThreadsGetTheSingleThreadedResult) {
  const std::string document = githubDocument();
  std::latch start(kThreads);
  std::vector<std::vector<std::string>> results(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      start.arrive_and_wait();
      for (int round = 0; round < kConversionsPerThread; ++round) {
        results[std::size_t(i)].push_back(gfmHtml(document, kAllGithubAdditions));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  const std::string expected = gfmHtml(document, kAllGithubAdditions);
  for (const char* mark :
       {"<del>struck</del>", "<a href=\"http://www.example.org\">", "mailto:me@example.net",
        "markdown-alert-note", "<th>title</th>", "data-footnote-ref"}) {
    EXPECT_NE(expected.find(mark), std::string::npos) << "the document shows no " << mark;
  }
  for (int i = 0; i < kThreads; ++i) {
    ASSERT_EQ(results[std::size_t(i)].size(), std::size_t(kConversionsPerThread));
    for (const std::string& html : results[std::size_t(i)]) {
      // The pages are long: only where they part is shown.
      const auto [at, unused] =
          std::mismatch(html.begin(), html.end(), expected.begin(), expected.end());
      ASSERT_TRUE(html == expected) << "thread " << i << " differs from byte " << at - html.begin()
                                    << ": " << std::string(at, html.end()).substr(0, 80);
    }
  }
}

}  // namespace
}  // namespace ondrel::test
