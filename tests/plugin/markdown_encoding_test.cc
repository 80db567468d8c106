// The encodings of Markdown documents through the module, as a viewer's call meets them: a
// GitHub-flavoured page reads a legacy-encoded or UTF-16 note as the same text as its UTF-8 twin,
// decoded from the code page `markdownEncoding` names or else the system's ANSI code page (given
// to the run in ONDREL_EXPECTED_ANSI_CODE_PAGE); the built-in staging passes bytes through.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"
#include "text/wide_text.h"

namespace ondrel::test {
namespace {

const std::filesystem::path kData(ONDREL_MARKDOWN_TEST_DATA);

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << file;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A heading, a paragraph and a table in Japanese, CR LF line ends, as UTF-8 and as CP932, whose
// second bytes 0x5C and 0x7C stand in table cells.
std::string utf8Note() { return readFile(kData / "note.utf8.md"); }
std::string cp932Note() { return readFile(kData / "note.cp932.md"); }

std::string utf16Note(ByteOrder order) {
  std::string bytes;
  for (const char16_t unit : u"\uFEFF" + utf8ToWide(utf8Note())) {
    const char low = char(unit & 0xFF);
    const char high = char(unit >> 8);
    bytes += order == ByteOrder::kLittleEndian ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

std::uint32_t expectedAnsiCodePage() {
  const char* value = std::getenv("ONDREL_EXPECTED_ANSI_CODE_PAGE");
  return value ? std::uint32_t(std::strtoul(value, nullptr, 10)) : 0;
}

class MarkdownEncodingTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_TRUE(plugin.leftovers().empty()) << "temporary files left behind";
  }

  // The page the browser was shown for a document of these bytes under these settings; each
  // document of a test lies in the same folder, so their pages share one base.
  std::string stagedPage(const std::string& name, const std::string& bytes,
                         const std::string& settingLines) {
    plugin.useFakeBrowser("width=16\nheight=8\n" + settingLines);
    plugin.keepShownPage();
    const std::filesystem::path page = plugin.writeFile(name, bytes);
    platform::BlockHandle header = nullptr;
    platform::BlockHandle pixels = nullptr;
    const int code =
        plugin.getPictureW(page.u16string().c_str(), 0, 0, &header, &pixels, nullptr, 0);
    EXPECT_EQ(code, 0) << name << " with " << settingLines;
    if (code == 0) HandedOverPicture::takeOver(header, pixels);
    return plugin.shownPage();
  }

  platform::ComApartment com;  // the Windows module decodes screenshots through COM
  PluginModule plugin;
};

TEST_F(MarkdownEncodingTest, GfmReadsCp932AndUtf16NotesAsTheirUtf8Twin) {
  const std::string settings = "markdown=GFM\nmarkdownEncoding=932\n";
  const std::string twin = stagedPage("utf8.md", utf8Note(), settings);
  ASSERT_NE(twin.find("<h1>\xE8\xA1\xA8\xE7\xA4\xBA\xE3\x81\xAE\xE4\xBA\x88\xE5\xAE\x9A</h1>"),
            std::string::npos)
      << twin;  // 表示の予定
  EXPECT_EQ(stagedPage("cp932.md", cp932Note(), settings), twin);
  EXPECT_EQ(stagedPage("le.md", utf16Note(ByteOrder::kLittleEndian), settings), twin);
  EXPECT_EQ(stagedPage("be.md", utf16Note(ByteOrder::kBigEndian), settings), twin);
  // Unicode needs no key at all.
  for (const std::string other : {"markdown=GFM\n", "markdown=GFM\nmarkdownEncoding=1252\n"}) {
    EXPECT_EQ(stagedPage("le.md", utf16Note(ByteOrder::kLittleEndian), other), twin) << other;
    EXPECT_EQ(stagedPage("utf8.md", utf8Note(), other), twin) << other;
  }
}

// Without the key, or with one that names no code page, the system's ANSI code page decides.
TEST_F(MarkdownEncodingTest, WithoutTheKeyTheSystemsAnsiCodePageIsRead) {
  const std::uint32_t ansi = expectedAnsiCodePage();
  ASSERT_TRUE(ansi == 932 || ansi == 1252) << "ONDREL_EXPECTED_ANSI_CODE_PAGE is not set";
  // Long enough for the plug-in to take it (64 bytes).
  const std::string western =
      "# Caf\xE9 cr\xE8me \x80 5\r\n\r\n"
      "Na\xEFve r\xE9sum\xE9s, \xA9 2024.\r\n"
      "Gar\xE7on, d\xE9j\xE0 vu, \xE0 la carte.\r\n";
  const std::string westernUtf8 =
      "# Caf\xC3\xA9 cr\xC3\xA8me \xE2\x82\xAC 5\r\n\r\n"
      "Na\xC3\xAFve r\xC3\xA9sum\xC3\xA9s, \xC2\xA9 2024.\r\n"
      "Gar\xC3\xA7on, d\xC3\xA9j\xC3\xA0 vu, \xC3\xA0 la carte.\r\n";
  const std::string legacy = ansi == 932 ? cp932Note() : western;
  const std::string utf8 = ansi == 932 ? utf8Note() : westernUtf8;
  const std::string twin = stagedPage("utf8.md", utf8, "markdown=GFM\n");
  for (const std::string settings :
       {"markdown=GFM\n", "markdown=GFM\nmarkdownEncoding=\n",
        "markdown=GFM\nmarkdownEncoding=shift_jis\n", "markdown=GFM\nmarkdownEncoding=-932\n",
        "markdown=GFM\nmarkdownEncoding=12345\n"}) {
    EXPECT_EQ(stagedPage("legacy.md", legacy, settings), twin) << settings;
  }
}

// The built-in staging declares no character set: the browser reads the bytes as they are.
TEST_F(MarkdownEncodingTest, BuiltInStagingPassesTheBytesThrough) {
  const std::string cp932Heading = "\x95\x5C\x8E\xA6\x82\xCC\x97\x5C\x92\xE8";  // 表示の予定
  for (const std::string settings : {"", "markdownEncoding=932\n"}) {
    const std::string page = stagedPage("cp932.md", cp932Note(), settings);
    EXPECT_NE(page.find(cp932Heading), std::string::npos) << settings;
    EXPECT_EQ(page.find("charset"), std::string::npos) << settings;
  }
}

}  // namespace
}  // namespace ondrel::test
