#include "tests/wine-chromium/chromium_under_wine.h"

#include <windows.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "platform/screenshot_bitmap.h"

namespace ondrel::wine_chromium {
namespace {

// A killed browser, the Unix half's cleaning up and the wrapper's removal
// of its folder take a moment; on a busy machine a few seconds.
constexpr std::chrono::seconds kLeftoversGoWithin{20};

std::filesystem::path hostPath(const char* path) {
  return std::filesystem::path(path).make_preferred();
}

std::string readAll(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << stream.rdbuf();
  return bytes.str();
}

std::string describe(const test::Bgra& pixel) {
  return "rgb(" + std::to_string(pixel.red) + "," + std::to_string(pixel.green) + "," +
         std::to_string(pixel.blue) + ")";
}

}  // namespace

std::filesystem::path example(const std::string& name) { return hostPath(ONDREL_EXAMPLES) / name; }

std::filesystem::path document(const std::string& name) {
  return hostPath(ONDREL_WINE_CHROMIUM_DOCUMENTS) / name;
}

std::vector<std::filesystem::path> samplesAndSmallDrawing() {
  return {example("page.html"), example("sample.md"), example("drawing.svg"),
          document("icon-123.svg")};
}

std::filesystem::path shortNamedCopy(const std::filesystem::path& file,
                                     const std::filesystem::path& folder) {
  const std::filesystem::path longFolder = folder / "a folder with a long name";
  std::filesystem::create_directories(longFolder);
  const std::filesystem::path copy = longFolder / ("the " + file.stem().string() +
                                                   " with a long name" + file.extension().string());
  std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
  wchar_t shortName[MAX_PATH];
  const DWORD length = GetShortPathNameW(copy.c_str(), shortName, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return copy;
  return std::filesystem::path(shortName);
}

void ChromiumUnderWine::useSettings(const std::string& set, const std::string& extraLines) {
  const std::string lines = readAll(hostPath(ONDREL_WINE_CHROMIUM_SETTINGS) / (set + ".ini"));
  ASSERT_FALSE(lines.empty()) << "no settings set " << set;
  plugin.writeSettings("[SystemSetting]\nChrome=" + hostPath(ONDREL_WINE_CHROMIUM).string() + "\n" +
                       extraLines + lines);
}

test::HandedOverPicture ChromiumUnderWine::picture(const std::filesystem::path& page) {
  test::HandedOverPicture result;
  EXPECT_EQ(plugin.picture(page, &result), 0) << page;
  return result;
}

int ChromiumUnderWine::browserProfiles() const {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(plugin.folder() / "tmp")) {
    count += entry.path().filename().string().starts_with("ondrel-profile-");
  }
  return count;
}

void ChromiumUnderWine::TearDown() {
  plugin.unload();
  run.waitUntilEmpty(kLeftoversGoWithin);
  EXPECT_EQ(run.processes(), std::vector<long>()) << "Unix processes left in " << run.unixPath();
  EXPECT_EQ(run.entries(), std::vector<std::string>()) << "left in " << run.unixPath();
  EXPECT_EQ(plugin.temporaryFolderContents(), std::vector<std::string>());
}

std::string differenceFromLinux(const test::HandedOverPicture& picture, const std::string& set,
                                const std::filesystem::path& document) {
  const std::filesystem::path file =
      hostPath(ONDREL_WINE_CHROMIUM_REFERENCES) / set / document.stem().concat(".png");
  constexpr int kLargest = 1 << 14;
  const std::unique_ptr<platform::ScreenshotBitmap> reference =
      platform::decodePngFile(file.u16string(), kLargest, kLargest);
  if (!reference) return "no reference picture " + file.string();
  if (reference->width() != picture.header.width || reference->height() != picture.header.height) {
    return std::to_string(picture.header.width) + " x " + std::to_string(picture.header.height) +
           ", the Linux build's is " + std::to_string(reference->width()) + " x " +
           std::to_string(reference->height());
  }
  long differing = 0;
  std::string first;
  for (int y = 0; y < reference->height(); ++y) {
    for (int x = 0; x < reference->width(); ++x) {
      const std::uint8_t* bgra =
          reference->pixels() + (std::size_t(y) * reference->width() + x) * 4;
      const test::Bgra expected{bgra[0], bgra[1], bgra[2], 255};
      const test::Bgra seen = picture.at(x, y);
      if (seen == expected) continue;
      if (differing++ == 0) {
        first = "(" + std::to_string(x) + ", " + std::to_string(y) + ") is " + describe(seen) +
                ", the Linux build's " + describe(expected);
      }
    }
  }
  if (differing == 0) return {};
  return std::to_string(differing) + " pixels differ from the Linux build's, first " + first;
}

}  // namespace ondrel::wine_chromium
