// Captures that must fail without a trace: a Markdown conversion that throws,
// and a browser that never starts. Nothing may reach the viewer but the
// result, and no temporary file may stay behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <new>
#include <regex>
#include <stdexcept>

#include "capture/page_capture.h"
#include "platform/host_support.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"

namespace ondrel::test {
namespace {

const std::string kDocument =
    "# Notes\n\nseed:5 and a paragraph long enough to make a picture of it\n";

class CaptureFailureTest : public ::testing::Test {
 protected:
  void SetUp() override { plugin.useFakeBrowser(); }

  // Everything the captures put into the temporary folder.
  std::vector<std::string> temporaryLeftovers() const { return plugin.temporaryFolderContents(); }

  CaptureRequest markdownRequest(MarkdownConverter convert) {
    CaptureRequest request;
    request.browserPath = utf8ToWide(fakeBrowserPath());
    request.pagePath = plugin.writeFile("notes.md", kDocument).u16string();
    request.captureWidth = 16;
    request.captureHeight = 8;
    request.waitSeconds = 30;
    request.convertMarkdown = std::move(convert);
    return request;
  }

  platform::ComApartment com;
  PluginModule plugin;
};

TEST_F(CaptureFailureTest, ConverterThatThrowsEndsTheCaptureBeforeTheBrowser) {
  const std::pair<const char*, std::function<void()>> failures[] = {
      {"bad_alloc", [] { throw std::bad_alloc(); }},
      {"regex_error", [] { throw std::regex_error(std::regex_constants::error_complexity); }},
      {"not an exception class", [] { throw 42; }},
  };
  for (const auto& [name, raise] : failures) {
    const CaptureRequest request = markdownRequest([&](const MarkdownDocument&) -> std::string {
      raise();
      return {};
    });
    EXPECT_EQ(capturePage(request), nullptr) << name;
    EXPECT_TRUE(plugin.browserRuns().empty()) << name;
    EXPECT_EQ(temporaryLeftovers(), std::vector<std::string>()) << name;
  }
}

TEST_F(CaptureFailureTest, ConverterMakesThePageTheBrowserShows) {
  std::string seen;
  std::optional<std::string> seenFolder;
  std::uint32_t seenCodePage = 0;
  CaptureRequest request = markdownRequest([&](const MarkdownDocument& document) {
    seen = document.bytes;
    seenFolder = document.folderUrl;
    seenCodePage = document.codePage;
    return std::string("<p>seed:77</p>\r\n");
  });
  request.markdownCodePage = 932;
  const std::unique_ptr<platform::ScreenshotBitmap> picture = capturePage(request);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(seen, kDocument);
  // The converter learns where the document lives and what the request says it is written in.
  EXPECT_EQ(seenFolder, plugin.folderUrl());
  EXPECT_EQ(seenCodePage, 932u);
  // The fake browser paints the seed it finds in the page it is shown.
  EXPECT_EQ(picture->pixels()[2], 77);
  EXPECT_EQ(plugin.browserRuns().size(), 1u);
  EXPECT_EQ(temporaryLeftovers(), std::vector<std::string>());
}

TEST_F(CaptureFailureTest, BrowserThatNeverStartsGivesSixAndLeavesNothing) {
  // A folder exists, so the settings pass, but it cannot be run.
  plugin.writeSettings("[SystemSetting]\nChrome=" + plugin.folder().string() + "\n");
  for (const char* name : {"notes.md", "notes.MD", "page.html"}) {
    const std::u16string page = plugin.writeFile(name, kDocument).u16string();
    platform::BlockHandle header = nullptr;
    platform::BlockHandle pixels = nullptr;
    EXPECT_EQ(plugin.getPictureW(page.c_str(), 0, 0, &header, &pixels, nullptr, 0), 6) << name;
    EXPECT_EQ(temporaryLeftovers(), std::vector<std::string>()) << name;
  }
}

}  // namespace
}  // namespace ondrel::test
