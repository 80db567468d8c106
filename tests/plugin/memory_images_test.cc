// Documents handed over in memory, as viewers hand over the entries of archives: IsSupportedW
// with the entry's name, then GetPictureInfoW and GetPictureW on the bytes with flag 0x01. With
// memoryImages=ON each kind is staged in the capture folder and shown as a file of its kind
// would be; without it every memory image is refused as it always was.

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "platform/host_support.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"
#include "tests/support/fake_browser_env.h"

namespace ondrel::test {
namespace {

const std::string kPage =
    "<!DOCTYPE html>\n<html><body style=\"margin:0\">seed:31 a page from an "
    "archive</body></html>\n";
const std::string kDrawing =
    "<?xml version=\"1.0\"?>\n<!-- from an archive -->\n"
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"120\" height=\"90\"><rect width=\"9\" "
    "height=\"9\"/></svg>\n";
const std::string kNote =
    "# A note\r\n\r\nseed:42 with snake_case_name, from an archive of notes and pages.\r\n";

struct Document {
  const char16_t* entryName;
  const std::string* bytes;
  int width, height;
  std::uint8_t seed;
  const char* stagedExtension;
};

// The drawing is shown at its own size, the others at the settings' size; the fake browser finds
// no seed in the drawing.
const Document kDocuments[] = {
    {u"pages/page.html", &kPage, 64, 48, 31, ".html"},
    {u"drawing.svg", &kDrawing, 120, 90, 0x80, ".svg"},
    {u"notes/note.md", &kNote, 64, 48, 42, ".htm"},
};

class MemoryImagesTest : public ::testing::Test {
 protected:
  void TearDown() override {
    plugin.unload();
    EXPECT_EQ(plugin.temporaryFolderContents(), std::vector<std::string>()) << "left behind";
  }

  // The calls a viewer makes for an archive's entry, each checked.
  void expectShownAsAViewerAsks(const Document& document) {
    SCOPED_TRACE(wideToUtf8(document.entryName));
    EXPECT_EQ(plugin.supportsEntry(document.entryName, *document.bytes), 1);
    PictureInfoRecord info{};
    ASSERT_EQ(plugin.memoryPictureInfo(*document.bytes, info), 0);
    EXPECT_EQ(info.pixelWidth, document.width);
    EXPECT_EQ(info.pixelHeight, document.height);
    HandedOverPicture picture;
    ASSERT_EQ(plugin.memoryPicture(*document.bytes, &picture), 0);
    EXPECT_EQ(picture.header.width, document.width);
    EXPECT_EQ(picture.header.height, document.height);
    EXPECT_EQ(differenceFromPattern(picture, document.width, document.height, document.seed), "");
    EXPECT_EQ(plugin.leftovers(), std::vector<std::string>());
  }

  platform::ComApartment com;
  PluginModule plugin;
};

TEST_F(MemoryImagesTest, EachKindIsShownByBothEngines) {
  for (const char* engine : {"", "engine=DevTools\nkeepBrowser=0\n", "engine=DevTools\n"}) {
    SCOPED_TRACE(engine);
    plugin.useFakeBrowser(std::string("memoryImages=on\nwidth=64\nheight=48\n") + engine);
    for (const Document& document : kDocuments) expectShownAsAViewerAsks(document);
  }
}

// The browser is shown a copy of the bytes in the capture folder, as it would be shown the file:
// a page or drawing in the long form, a note converted and in the short form.
TEST_F(MemoryImagesTest, TheBrowserIsShownACopyOfTheBytesInTheCaptureFolder) {
  plugin.useFakeBrowser("memoryImages=ON\nwidth=64\nheight=48\n");
  plugin.keepShownPage();
  for (const Document& document : kDocuments) {
    SCOPED_TRACE(document.stagedExtension);
    const std::size_t runsBefore = plugin.browserRuns().size();
    ASSERT_EQ(plugin.memoryPicture(*document.bytes), 0);
    const std::vector<BrowserRun> runs = plugin.browserRuns();
    ASSERT_EQ(runs.size(), runsBefore + 1);
    std::vector<std::string> args = runs.back().args;
    std::erase(args, "--do-not-de-elevate");
    const std::filesystem::path shown = args.back();
    EXPECT_EQ(shown.parent_path(), plugin.captureFolder());
    EXPECT_EQ(shown.filename().string().substr(0, 13), "memory-image-");
    EXPECT_EQ(shown.extension(), document.stagedExtension);
    const bool isNote = document.bytes == &kNote;
    EXPECT_EQ(args.size(), isNote ? 4u : 6u) << "the form a file of the kind is shown in";
    if (isNote) {
      EXPECT_NE(plugin.shownPage().find("<h1>A note</h1>"), std::string::npos);
    } else {
      EXPECT_EQ(plugin.shownPage(), *document.bytes);
    }
  }
}

TEST_F(MemoryImagesTest, WithoutTheKeyMemoryImagesAreRefusedAsBefore) {
  for (const char* line : {"", "memoryImages=OFF\n", "memoryImages=1\n"}) {
    plugin.useFakeBrowser(std::string("width=64\nheight=48\n") + line);
    SCOPED_TRACE(line);
    EXPECT_EQ(plugin.memoryPicture(kPage), 2);
    EXPECT_EQ(plugin.memoryPicture(kNote), 2);
    // The information has always counted an image without a name as a drawing.
    PictureInfoRecord info{};
    ASSERT_EQ(plugin.memoryPictureInfo(kDrawing, info), 0);
    EXPECT_EQ(info.pixelWidth, 120);
    ASSERT_EQ(plugin.memoryPictureInfo(kPage, info), 0);
    EXPECT_EQ(info.pixelWidth, 64);
  }
  EXPECT_TRUE(plugin.browserRuns().empty());
}

TEST_F(MemoryImagesTest, WhatIsNoPageOrTooLargeIsRefusedBeforeTheBrowser) {
  plugin.useFakeBrowser("memoryImages=ON\nSVG=off\n");
  std::string oversized = kNote;
  oversized.resize((std::size_t(64) << 20) + 1, ' ');
  std::string binary = "\x89PNG\r\n\x1A\n";
  binary.resize(200, '\0');
  for (const std::string* image : {&std::as_const(oversized), &std::as_const(binary), &kDrawing}) {
    PictureInfoRecord info{};
    EXPECT_EQ(plugin.memoryPictureInfo(*image, info), 2) << image->substr(0, 8);
    EXPECT_EQ(plugin.memoryPicture(*image), 2) << image->substr(0, 8);
  }
  const std::string tooShort = "# Too short for a picture";
  EXPECT_EQ(plugin.memoryPicture(tooShort), 2);
  platform::BlockHandle header = nullptr;
  platform::BlockHandle pixels = nullptr;
  EXPECT_EQ(plugin.getPictureW(nullptr, 100, 1, &header, &pixels, nullptr, 0), 2);
  EXPECT_TRUE(plugin.browserRuns().empty());
}

TEST_F(MemoryImagesTest, PreviewAndAnsiFormsTakeMemoryImagesToo) {
  plugin.useFakeBrowser("memoryImages=ON\nwidth=20\nheight=10\n");
  const auto source = reinterpret_cast<const char*>(kPage.data());
  const auto length = std::intptr_t(kPage.size());
  platform::BlockHandle header = nullptr;
  platform::BlockHandle pixels = nullptr;
  ASSERT_EQ(plugin.getPreviewW(reinterpret_cast<const char16_t*>(source), length, 1, &header,
                               &pixels, nullptr, 0),
            0);
  EXPECT_EQ(differenceFromPattern(HandedOverPicture::takeOver(header, pixels), 20, 10, 31), "");
  for (auto* call : {plugin.getPicture, plugin.getPreview}) {
    ASSERT_EQ(call(source, length, 1, &header, &pixels, nullptr, 0), 0);
    EXPECT_EQ(differenceFromPattern(HandedOverPicture::takeOver(header, pixels), 20, 10, 31), "");
  }
  PictureInfoRecord info{};
  ASSERT_EQ(plugin.getPictureInfo(source, length, 1, &info), 0);
  EXPECT_EQ(info.pixelWidth, 20);
}

// The information lays the whole page out once, the picture takes that page, and both agree.
TEST_F(MemoryImagesTest, AWholeNoteIsMeasuredAndDrawnAtOneHeight) {
  plugin.useFakeBrowser("memoryImages=ON\nengine=DevTools\nfullPage=ON\nwidth=64\nheight=48\n");
  const std::string tall = kNote + "\r\npage-height:700\r\n";
  PictureInfoRecord info{};
  ASSERT_EQ(plugin.memoryPictureInfo(tall, info), 0);
  EXPECT_EQ(info.pixelHeight, 700);
  HandedOverPicture picture;
  ASSERT_EQ(plugin.memoryPicture(tall, &picture), 0);
  EXPECT_EQ(picture.header.height, 700);
  EXPECT_EQ(differenceFromPattern(picture, 64, 700, 42), "");
}

}  // namespace
}  // namespace ondrel::test
