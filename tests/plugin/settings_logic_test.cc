// Acceptance and the capture size, decided from settings alone.

#include <gtest/gtest.h>

#include <map>

#include "plugin/capture_size.h"
#include "plugin/input_acceptance.h"
#include "plugin/memory_image.h"

namespace ondrel {
namespace {

// Settings held in memory, with an active window of any size and a browser
// that exists or not.
class FakeSettings final : public SettingsSource {
 public:
  std::map<WideString, WideString> values;
  std::optional<platform::ClientArea> client;
  bool browserExists = true;

  WideString readText(WideView key, WideView fallback, std::size_t capacity) const override {
    const auto found = values.find(WideString(key));
    WideString value = found == values.end() ? WideString(fallback) : found->second;
    if (value.size() >= capacity) value.resize(capacity - 1);
    return value;
  }
  int readInteger(WideView key, int fallback) const override {
    const auto found = values.find(WideString(key));
    return found == values.end() ? fallback : std::stoi(wideToUtf8(found->second));
  }
  std::optional<platform::ClientArea> activeWindowClientArea() const override { return client; }
  bool pathExists(const WideString&) const override { return browserExists; }
};

FakeSettings withBrowser() {
  FakeSettings settings;
  settings.values[u"Chrome"] = u"browser";
  return settings;
}

TEST(CaptureSize, ZeroTakesTheActiveWindowsClientSize) {
  struct Case {
    const char16_t* width;
    const char16_t* height;
    std::optional<platform::ClientArea> client;
    PictureSize expected;
  };
  const Case cases[] = {
      {nullptr, nullptr, platform::ClientArea{800, 600}, {640, 480}},
      {u"0", u"300", platform::ClientArea{800, 600}, {800, 300}},
      {u"0", u"0", platform::ClientArea{800, 600}, {800, 600}},
      {u"0", u"0", std::nullopt, {640, 480}},
      {u"0", u"0", platform::ClientArea{0, 0}, {640, 480}},  // minimised
      {u"0", u"0", platform::ClientArea{-3, 700}, {640, 700}},
      {u"-20", u"7", std::nullopt, {-20, 7}},
  };
  for (const Case& c : cases) {
    FakeSettings settings;
    if (c.width != nullptr) settings.values[u"width"] = c.width;
    if (c.height != nullptr) settings.values[u"height"] = c.height;
    settings.client = c.client;
    EXPECT_EQ(resolveCaptureSize(settings), c.expected)
        << (c.width ? wideToUtf8(c.width) : "-") << " " << (c.height ? wideToUtf8(c.height) : "-");
  }
}

TEST(CaptureSize, SvgDrawingsUseTheirOwnUsableSize) {
  const FakeSettings settings;
  const std::string drawing = R"(<svg width="300" height="100.5"/>)";
  const std::string sizeless = "<svg/>";
  const auto bytes = [](const std::string& text) {
    return std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  };
  EXPECT_EQ(pictureSize(settings, true, bytes(drawing)), (PictureSize{300, 101}));
  EXPECT_EQ(pictureSize(settings, false, bytes(drawing)), (PictureSize{640, 480}));
  // A drawing that declares no size is shown at the settings' size.
  EXPECT_EQ(pictureSize(settings, true, bytes(sizeless)), (PictureSize{640, 480}));
}

TEST(Acceptance, NeedsAnExistingBrowser) {
  FakeSettings settings;
  EXPECT_FALSE(acceptsInput(settings, u"page.html"));
  EXPECT_FALSE(acceptsInput(settings, std::nullopt));
  settings = withBrowser();
  settings.browserExists = false;
  EXPECT_FALSE(acceptsInput(settings, u"page.html"));
  settings.browserExists = true;
  EXPECT_TRUE(acceptsInput(settings, std::nullopt)) << "a memory image needs only the browser";
}

TEST(Acceptance, ExtensionsIgnoreLetterCase) {
  FakeSettings settings = withBrowser();
  for (const char16_t* name : {u"page.HTM", u"notes.Md", u"a.b.html", u"x.Svg", u"dir.md/x.html"}) {
    EXPECT_TRUE(acceptsInput(settings, name)) << wideToUtf8(name);
  }
  for (const char16_t* name :
       {u"page.html.bak", u"noextension", u"ends.", u"x.mdx", u"dir.html/noext", u""}) {
    EXPECT_FALSE(acceptsInput(settings, name)) << wideToUtf8(name);
  }
  settings.values[u"SVG"] = u"oFF";
  EXPECT_FALSE(acceptsInput(settings, u"x.svg"));
  settings.values[u"SVG"] = u"oN";
  EXPECT_TRUE(acceptsInput(settings, u"x.svg"));
}

TEST(SettingsValues, OnlyOnInAnyCaseIsOn) {
  for (const char16_t* on : {u"ON", u"on", u"On", u"oN"}) EXPECT_TRUE(isOn(on));
  for (const char16_t* off : {u"", u"1", u"yes", u"true", u"ON ", u" on", u"o", u"onn"}) {
    EXPECT_FALSE(isOn(off)) << wideToUtf8(off);
  }
}

TEST(EngineSetting, OnlyDevToolsInAnyCaseChoosesTheProtocolAndAllowsWholePages) {
  const std::pair<const char16_t*, CaptureEngine> engines[] = {
      {nullptr, CaptureEngine::kScreenshotSwitch},
      {u"DevTools", CaptureEngine::kDevTools},
      {u"devtools", CaptureEngine::kDevTools},
      {u"DEVTOOLS", CaptureEngine::kDevTools},
      {u"", CaptureEngine::kScreenshotSwitch},
      {u"DevTools2", CaptureEngine::kScreenshotSwitch},
      {u"screenshot", CaptureEngine::kScreenshotSwitch},
  };
  for (const auto& [value, engine] : engines) {
    FakeSettings settings = withBrowser();
    if (value != nullptr) settings.values[u"engine"] = value;
    settings.values[u"fullPage"] = u"on";
    EXPECT_EQ(settings.captureEngine(), engine) << (value ? wideToUtf8(value) : "(none)");
    EXPECT_EQ(settings.fullPage(), engine == CaptureEngine::kDevTools);
  }
  FakeSettings settings = withBrowser();
  settings.values[u"engine"] = u"DevTools";
  EXPECT_FALSE(settings.fullPage());
  settings.values[u"fullPage"] = u"yes";
  EXPECT_FALSE(settings.fullPage());
}

TEST(KeepBrowserSetting, SixtySecondsByDefaultOnlyForTheDevToolsEngineAndNeverBelowZero) {
  FakeSettings settings = withBrowser();
  EXPECT_EQ(settings.keepBrowserSeconds(), 0);
  settings.values[u"keepBrowser"] = u"30";
  EXPECT_EQ(settings.keepBrowserSeconds(), 0);  // the one-shot engine keeps nothing
  settings.values[u"engine"] = u"devtools";
  EXPECT_EQ(settings.keepBrowserSeconds(), 30);
  settings.values.erase(u"keepBrowser");
  EXPECT_EQ(settings.keepBrowserSeconds(), 60);
  settings.values[u"keepBrowser"] = u"0";
  EXPECT_EQ(settings.keepBrowserSeconds(), 0);
  settings.values[u"keepBrowser"] = u"-5";
  EXPECT_EQ(settings.keepBrowserSeconds(), 0);
}

TEST(NetworkSetting, OffInAnyLetterCaseBlocksOnlyWithTheDevToolsEngine) {
  FakeSettings settings = withBrowser();
  settings.values[u"network"] = u"OFF";
  EXPECT_FALSE(settings.networkBlocked());  // the one-shot engine cannot block
  settings.values[u"engine"] = u"DevTools";
  for (const char16_t* value : {u"OFF", u"off", u"Off"}) {
    settings.values[u"network"] = value;
    EXPECT_TRUE(settings.networkBlocked()) << wideToUtf8(value);
  }
  for (const char16_t* value : {u"", u"ON", u"0", u"no", u"OFF "}) {
    settings.values[u"network"] = value;
    EXPECT_FALSE(settings.networkBlocked()) << wideToUtf8(value);
  }
  settings.values.erase(u"network");
  EXPECT_FALSE(settings.networkBlocked());
}

TEST(MarkdownEncodingSetting, ACodePageNumberOrElseTheSystems) {
  FakeSettings settings = withBrowser();
  EXPECT_EQ(settings.markdownCodePage(), platform::kAnsiCodePage);
  for (const auto& [value, codePage] :
       {std::pair{u"932", 932u}, {u"1252", 1252u}, {u"949", 949u}}) {
    settings.values[u"markdownEncoding"] = value;
    EXPECT_EQ(settings.markdownCodePage(), codePage);
  }
  for (const char16_t* value : {u"0", u"-932"}) {
    settings.values[u"markdownEncoding"] = value;
    EXPECT_EQ(settings.markdownCodePage(), platform::kAnsiCodePage) << wideToUtf8(value);
  }
}

TEST(ParallelSetting, OneToEightPicturesAtOnceElseTwo) {
  const std::pair<const char16_t*, int> cases[] = {
      {u"1", 1}, {u"2", 2}, {u"5", 5}, {u"8", 8}, {u"0", 2}, {u"9", 2}, {u"-1", 2}, {u"100", 2},
  };
  for (const auto& [value, parallel] : cases) {
    FakeSettings settings = withBrowser();
    settings.values[u"parallel"] = value;
    EXPECT_EQ(settings.parallelPictures(), parallel) << wideToUtf8(value);
  }
  EXPECT_EQ(withBrowser().parallelPictures(), 2) << "no key";
}

TEST(ScaleSetting, ADecimalFromOneToFourElseOne) {
  const std::pair<const char16_t*, double> cases[] = {
      {u"2", 2.0},   {u"1.5", 1.5}, {u"1.25", 1.25}, {u"4", 4.0},    {u"1", 1.0},
      {u"4.0", 4.0}, {u"2.", 2.0},  {u"0.5", 1.0},   {u"4.01", 1.0}, {u"0", 1.0},
      {u"-2", 1.0},  {u"+2", 1.0},  {u"2e0", 1.0},   {u"1,5", 1.0},  {u"", 1.0},
      {u"inf", 1.0}, {u"nan", 1.0}, {u"2x", 1.0},    {u"1..5", 1.0}, {u"２", 1.0},
  };
  for (const auto& [value, scale] : cases) {
    FakeSettings settings = withBrowser();
    settings.values[u"scale"] = value;
    EXPECT_EQ(settings.deviceScale(), scale) << wideToUtf8(value);
  }
  EXPECT_EQ(withBrowser().deviceScale(), 1.0) << "no key";
}

TEST(ScaleSetting, PictureSidesAreRoundedHalfAwayFromZeroAndStayInRange) {
  EXPECT_EQ(inDevicePixels({800, 600}, 2.0), (PictureSize{1600, 1200}));
  // As Chromium sizes its screenshots: 961.5 and 10.5 go up, 416.25 down.
  EXPECT_EQ(inDevicePixels({641, 7}, 1.5), (PictureSize{962, 11}));
  EXPECT_EQ(inDevicePixels({333, 151}, 1.25), (PictureSize{416, 189}));
  EXPECT_EQ(inDevicePixels({-5, 7}, 1.0), (PictureSize{-5, 7})) << "as read, at scale 1";
  EXPECT_EQ(inDevicePixels({2147483647, -2147483647 - 1}, 4.0),
            (PictureSize{2147483647, -2147483647 - 1}));
}

std::span<const std::uint8_t> bytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(MemoryImages, TakenOnlyWithTheKeyOnAsThePageTheirBytesShow) {
  const std::string page = "<!DOCTYPE html><title>x</title>" + std::string(40, ' ');
  const std::string drawing = "<?xml version=\"1.0\"?><svg width=\"10\"/>" + std::string(40, ' ');
  const std::string note =
      "# A note\n\nlong enough to be a picture of its own, surely, and then some.\n";
  FakeSettings settings = withBrowser();
  EXPECT_EQ(memoryImageName(settings, bytesOf(page)), std::nullopt) << "no key";
  for (const char16_t* off : {u"OFF", u"1", u"yes", u""}) {
    settings.values[u"memoryImages"] = off;
    EXPECT_EQ(memoryImageName(settings, bytesOf(page)), std::nullopt) << wideToUtf8(off);
  }
  settings.values[u"memoryImages"] = u"oN";
  EXPECT_EQ(memoryImageName(settings, bytesOf(page)), WideString(u"memory-image.html"));
  EXPECT_EQ(memoryImageName(settings, bytesOf(drawing)), WideString(u"memory-image.svg"));
  EXPECT_EQ(memoryImageName(settings, bytesOf(note)), WideString(u"memory-image.md"));
  EXPECT_EQ(memoryImageName(settings, bytesOf(std::string(64, '\0'))), std::nullopt);
  settings.values[u"SVG"] = u"off";
  EXPECT_EQ(memoryImageName(settings, bytesOf(drawing)), std::nullopt);
  EXPECT_EQ(memoryImageName(settings, bytesOf(page)), WideString(u"memory-image.html"));
}

TEST(MemoryImages, FromTheSmallestPictureToSixtyFourMebibytes) {
  FakeSettings settings = withBrowser();
  settings.values[u"memoryImages"] = u"ON";
  EXPECT_EQ(memoryImageName(settings, bytesOf(std::string(63, 'a'))), std::nullopt);
  EXPECT_EQ(memoryImageName(settings, bytesOf(std::string(64, 'a'))),
            WideString(u"memory-image.md"));
  std::string largest(kLargestMemoryImage, 'a');
  EXPECT_EQ(memoryImageName(settings, bytesOf(largest)), WideString(u"memory-image.md"));
  largest.push_back('a');
  EXPECT_EQ(memoryImageName(settings, bytesOf(largest)), std::nullopt);
}

}  // namespace
}  // namespace ondrel
