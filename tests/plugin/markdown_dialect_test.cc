// The Markdown settings through the module, as a viewer's call meets them: which staging the
// key `markdown` picks, the style file `markdownStyle` names, and the staged page byte for byte.
// The expected pages are committed files, and every build compares against the same ones, so
// the Windows module under wine64 and the Linux module must stage identical bytes. Their base
// element names the folder as @FOLDER_URL@, which stands for the test's own folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"

namespace ondrel::test {
namespace {

const std::filesystem::path kData(ONDREL_MARKDOWN_TEST_DATA);

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << file;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The document: CR LF line ends, a table, lists, a quote, code, raw HTML, Japanese, and bytes
// after an end-of-text mark that no staging may show.
std::string document() { return readFile(kData / "github-readme.md"); }

// What GitHub shows beyond cmark-gfm's HTML: front matter, footnotes, the five alerts, a quote
// that only looks like one, and a script that must not run.
std::string additionsDocument() { return readFile(kData / "github-additions.md"); }

class MarkdownDialectTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_TRUE(plugin.leftovers().empty()) << "temporary files left behind";
  }

  // The page the browser was shown for the document under these settings.
  std::string stagedPage(const std::string& settingLines,
                         const std::string& markdown = document()) {
    plugin.useFakeBrowser("width=16\nheight=8\n" + settingLines);
    plugin.keepShownPage();
    const std::filesystem::path page = plugin.writeFile("README.md", markdown);
    platform::BlockHandle header = nullptr;
    platform::BlockHandle pixels = nullptr;
    const int code =
        plugin.getPictureW(page.u16string().c_str(), 0, 0, &header, &pixels, nullptr, 0);
    EXPECT_EQ(code, 0) << settingLines;
    if (code == 0) HandedOverPicture::takeOver(header, pixels);
    return plugin.shownPage();
  }

  // Compares with a committed page; a different page is written beside the test program as
  // NAME.actual, to be looked at and, when right, copied over the expected one.
  void expectPage(const std::string& page, const std::string& expectedName,
                  const std::string& settingLines) {
    const std::string expected = expectedPage(expectedName);
    EXPECT_EQ(page.size(), expected.size()) << settingLines;
    if (page == expected) return;
    ADD_FAILURE() << "the page for \"" << settingLines << "\" is not " << expectedName;
    std::ofstream(expectedName + ".actual", std::ios::binary) << page;
  }

  // A committed page with the test's folder in its base, and in the file URLs of the assets
  // beside the module, which lives in that folder too.
  std::string expectedPage(const std::string& name) {
    std::string page = readFile(kData / name);
    constexpr std::string_view kFolder = "@FOLDER_URL@";
    EXPECT_NE(page.find(kFolder), std::string::npos) << name << " has no base";
    for (std::size_t at = page.find(kFolder); at != std::string::npos;
         at = page.find(kFolder, at)) {
      page.replace(at, kFolder.size(), plugin.folderUrl());
    }
    return page;
  }

  platform::ComApartment com;  // the Windows module decodes screenshots through COM
  PluginModule plugin;
};

TEST_F(MarkdownDialectTest, GfmInAnyLetterCaseStagesTheGithubFlavouredPage) {
  for (const std::string setting : {"markdown=GFM\n", "markdown=gfm\n", "markdown=gFm\n"}) {
    expectPage(stagedPage(setting), "github-readme.gfm.htm", setting);
  }
}

TEST_F(MarkdownDialectTest, GfmPagesShowFrontMatterFootnotesAndAlertsAsGithubDoes) {
  expectPage(stagedPage("markdown=GFM\n", additionsDocument()), "github-additions.gfm.htm",
             "markdown=GFM");
}

TEST_F(MarkdownDialectTest, WithoutGfmTheBuiltInStagingIsUnchanged) {
  for (const std::string& setting : std::vector<std::string>{
           "", "markdown=\n", "markdown=builtin\n", "markdown=GFM2\n", "markdown=commonmark\n",
           "markdownStyle=" + (plugin.folder() / "unused.css").string() + "\n"}) {
    expectPage(stagedPage(setting), "github-readme.builtin.htm", setting);
  }
}

TEST_F(MarkdownDialectTest, StyleFileReplacesTheBuiltInStyle) {
  const std::filesystem::path style = plugin.writeFile("mine.css", "h1 { color: green; }\r\n");
  const std::string page = stagedPage("markdown=GFM\nmarkdownStyle=" + style.string() + "\n");
  const std::string github = expectedPage("github-readme.gfm.htm");
  const std::string head = github.substr(0, github.find("<style>\r\n"));
  EXPECT_EQ(page, head + "<style>\r\nh1 { color: green; }\r\n" +
                      github.substr(github.find("</style>\r\n")));
}

TEST_F(MarkdownDialectTest, MissingStyleFileFallsBackToTheBuiltInStyle) {
  const std::string setting =
      "markdown=GFM\nmarkdownStyle=" + (plugin.folder() / "missing.css").string() + "\n";
  expectPage(stagedPage(setting), "github-readme.gfm.htm", setting);
}

TEST_F(MarkdownDialectTest, KeyIsReadAtEveryCall) {
  const std::string builtIn = stagedPage("");
  const std::string github = stagedPage("markdown=GFM\n");
  EXPECT_NE(builtIn, github);
  EXPECT_EQ(stagedPage(""), builtIn);
  EXPECT_EQ(stagedPage("markdown=gfm\n"), github);
}

// Each kind of drawing loads its own assets and nothing else, in the order the page needs them.
TEST_F(MarkdownDialectTest, DrawnPagesLoadTheAssetsOfWhatTheirDocumentHolds) {
  ASSERT_TRUE(plugin.copyDrawingAssets()) << "the build has no drawing assets";
  const std::string setting = "markdown=GFM\nmarkdownDrawing=ON\n";
  for (const char* kind : {"code", "math", "diagram"}) {
    const std::string name = std::string("drawing-") + kind;
    expectPage(stagedPage(setting, readFile(kData / (name + ".md"))), name + ".htm", setting);
  }
  // A document that needs no drawing gets the page it always got.
  expectPage(stagedPage(setting, additionsDocument()), "github-additions.gfm.htm", setting);
}

// Without the key, with a value other than ON, with the built-in converter, or without the assets
// beside the module, the page is the one without drawing.
TEST_F(MarkdownDialectTest, DrawingNeedsTheKeyGfmAndTheAssets) {
  const std::string document = readFile(kData / "drawing-math.md");
  const std::string withoutAssets = stagedPage("markdown=GFM\nmarkdownDrawing=ON\n", document);
  const std::string plain = stagedPage("markdown=GFM\n", document);
  EXPECT_EQ(withoutAssets, plain);
  EXPECT_EQ(plain.find("<script"), std::string::npos);
  EXPECT_NE(plain.find("$a<em>b</em>c$"), std::string::npos);

  ASSERT_TRUE(plugin.copyDrawingAssets()) << "the build has no drawing assets";
  for (const char* setting :
       {"markdown=GFM\nmarkdownDrawing=OFF\n", "markdown=GFM\nmarkdownDrawing=1\n"}) {
    EXPECT_EQ(stagedPage(setting, document), plain) << setting;
  }
  const std::string builtIn = stagedPage("", document);
  EXPECT_EQ(stagedPage("markdownDrawing=ON\n", document), builtIn);
  EXPECT_NE(stagedPage("markdown=GFM\nmarkdownDrawing=on\n", document), plain);
}

}  // namespace
}  // namespace ondrel::test
