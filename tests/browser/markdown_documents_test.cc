// Markdown documents as people keep them, shown by Debian's Chromium: a README whose pictures lie
// beside it and in a folder with a Japanese name, and a Japanese note saved as CP932 or UTF-16.
// The staged page lives in the capture folder, so the pictures appear only when the page resolves
// them against the document's own folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/browser/known_colours.h"
#include "tests/browser/shallow_temporary_folder.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"
#include "tests/support/png_writer.h"
#include "text/wide_text.h"

namespace ondrel::test {
namespace {

const std::filesystem::path kData(ONDREL_MARKDOWN_TEST_DATA);

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << file;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string utf16WithMark(const std::string& utf8, bool bigEndian) {
  std::string bytes;
  for (const char16_t unit : u"\uFEFF" + utf8ToWide(utf8)) {
    const char low = char(unit & 0xFF);
    const char high = char(unit >> 8);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

PngImage solidImage(const Colour& colour) {
  PngImage image;
  image.width = 80;
  image.height = 40;
  image.colour = PngColour::Rgb8;
  for (int i = 0; i < image.width * image.height; ++i) {
    image.samples.insert(image.samples.end(), {std::uint8_t(colour.red), std::uint8_t(colour.green),
                                               std::uint8_t(colour.blue)});
  }
  return image;
}

class MarkdownDocumentsTest : public ::testing::Test {
 protected:
  void useChromium(const std::string& extraLines) {
    plugin.writeSettings("[SystemSetting]\nChrome=" ONDREL_CHROMIUM_WRAPPER
                         "\nwaitTime=30\nwidth=400\nheight=400\n" +
                         extraLines);
  }

  void writePicture(const std::string& name, const Colour& colour) {
    const std::filesystem::path file = plugin.writeFile(name, "");
    ASSERT_TRUE(writePng(file, solidImage(colour))) << name;
  }

  PluginModule plugin;
  // After the module, which points the temporary folder into its own.
  ShallowTemporaryFolder temporary_{"ondrel-markdown-"};
};

TEST_F(MarkdownDocumentsTest, PicturesBesideTheDocumentAndInAJapaneseFolderAppear) {
  constexpr Colour kBeside{200, 30, 60};
  constexpr Colour kInFolder{20, 110, 220};
  constexpr Colour kRawHtml{0, 160, 80};
  ASSERT_NO_FATAL_FAILURE(writePicture("shot.png", kBeside));
  // 画像/図.png and 画像/帯 1.png
  ASSERT_NO_FATAL_FAILURE(writePicture("\xE7\x94\xBB\xE5\x83\x8F/\xE5\x9B\xB3.png", kInFolder));
  ASSERT_NO_FATAL_FAILURE(writePicture("\xE7\x94\xBB\xE5\x83\x8F/\xE5\xB8\xAF 1.png", kRawHtml));
  // The sentence says the screenshots are in the folder 画像: ondrel's own page declares no
  // character set, and Chromium reads it as UTF-8 only with Japanese enough to tell.
  const std::string sentence =
      "\xE7\x94\xBB\xE9\x9D\xA2\xE3\x81\xAE\xE5\x86\x99\xE7\x9C\x9F\xE3\x81\xAF"
      "\xE7\x94\xBB\xE5\x83\x8F\xE3\x83\x95\xE3\x82\xA9\xE3\x83\xAB\xE3\x83\x80"
      "\xE3\x81\xAB\xE3\x81\x82\xE3\x82\x8A\xE3\x81\xBE\xE3\x81\x99\xE3\x80\x82";
  const auto readme = plugin.writeFile(
      "README.md", "# Screenshots\r\n\r\n" + sentence +
                       "\r\n\r\n"
                       "![beside](shot.png)\r\n"
                       "\r\n"
                       "![in a folder](\xE7\x94\xBB\xE5\x83\x8F/\xE5\x9B\xB3.png)\r\n"
                       "\r\n"
                       "<img src=\"\xE7\x94\xBB\xE5\x83\x8F/\xE5\xB8\xAF 1.png\">\r\n");
  for (const std::string settings : {"", "markdown=GFM\n", "engine=DevTools\nkeepBrowser=0\n",
                                     "engine=DevTools\nkeepBrowser=0\nmarkdown=GFM\n"}) {
    SCOPED_TRACE(settings);
    useChromium(settings);
    HandedOverPicture result;
    ASSERT_EQ(plugin.picture(readme, &result), 0);
    // Each picture shows whole: 80 x 40 pixels of its colour, give or take its edges.
    for (const auto& [name, colour] :
         {std::pair{"beside", kBeside}, {"in the folder", kInFolder}, {"raw HTML", kRawHtml}}) {
      EXPECT_GT(pixelsNear(result, colour), 3000) << "no picture " << name;
    }
  }
  EXPECT_EQ(temporary_.entries(), std::vector<std::string>());
}

// The same Japanese note with a heading, a paragraph and a table, whose CP932 bytes put 0x5C and
// 0x7C into table cells: whatever its encoding, its picture is that of the UTF-8 note.
TEST_F(MarkdownDocumentsTest, Cp932AndUtf16NotesLookLikeTheirUtf8Twin) {
  const std::string utf8 = readFile(kData / "note.utf8.md");
  const std::string cp932 = readFile(kData / "note.cp932.md");
  useChromium("markdown=GFM\nmarkdownEncoding=932\n");
  const auto pictureOf = [&](const std::string& name, const std::string& bytes) {
    HandedOverPicture result;
    EXPECT_EQ(plugin.picture(plugin.writeFile(name, bytes), &result), 0) << name;
    return result.pixels;
  };
  const std::vector<std::uint8_t> twin = pictureOf("utf8.md", utf8);
  ASSERT_FALSE(twin.empty());
  EXPECT_NE(std::count(twin.begin(), twin.end(), 255), std::ptrdiff_t(twin.size()))
      << "the page is blank";
  EXPECT_EQ(pictureOf("cp932.md", cp932), twin) << "CP932";
  EXPECT_EQ(pictureOf("le.md", utf16WithMark(utf8, false)), twin) << "UTF-16 little-endian";
  EXPECT_EQ(pictureOf("be.md", utf16WithMark(utf8, true)), twin) << "UTF-16 big-endian";
  // The comparison sees text: read as Western, the CP932 note looks different.
  useChromium("markdown=GFM\nmarkdownEncoding=1252\n");
  EXPECT_NE(pictureOf("cp932.md", cp932), twin);
  EXPECT_EQ(temporary_.entries(), std::vector<std::string>());
}

}  // namespace
}  // namespace ondrel::test
