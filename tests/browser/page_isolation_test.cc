// Pages of the warm browser with Debian's Chromium: what one document stores is gone for the
// next, and with network=OFF a page reaches no server, only its own files and data.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/child_process.h"
#include "platform/host_support.h"
#include "platform/screenshot_bitmap.h"
#include "tests/browser/known_colours.h"
#include "tests/browser/local_http_server.h"
#include "tests/browser/shallow_temporary_folder.h"
#include "tests/plugin/plugin_module.h"

namespace ondrel::test {
namespace {

constexpr Colour kYellow{255, 255, 0};
constexpr Colour kGreen{0, 255, 0};
constexpr Colour kGrey{128, 128, 128};
constexpr Colour kBlue{0, 0, 255};
constexpr Colour kRed{255, 0, 0};

// A page whose script paints the body. Writers paint yellow when what they stored reads back,
// readers green when they find nothing and red when they find what a writer stored; blue is a
// script that failed.
std::string paintingPage(const std::string& script, const std::string& tail = "") {
  return "<!DOCTYPE html><html><body style=\"margin:0;background:#fff\"><script>\n"
         "function paint(colour) { document.body.style.background = colour; }\n"
         "try {\n" +
         script + "\n} catch (e) { paint('#00f'); }\n</script>" + tail + "</body></html>\n";
}

struct StoragePages {
  const char* name;
  std::string writer;
  std::string reader;
  // Chromium keeps no cookies for file: documents, so a writer may find its cookie refused:
  // it paints grey then, and its reader must still find nothing.
  bool writerMayBeRefused = false;
};

std::vector<StoragePages> storagePages() {
  // The database answers after the script has run; a long tail of markup keeps the load event
  // from coming before it does (a page whose load came first shows a magenta rule on top).
  const std::string holdLoad = "<div style=\"display:none\">" + [] {
    std::string tail;
    for (int i = 0; i < 60000; ++i) tail += "<i>waiting for the database</i>";
    return tail;
  }() + "</div>";
  const std::string openDatabase =
      "let answered = false;\n"
      "addEventListener('load', () => { if (!answered) "
      "document.body.style.borderTop = '8px solid #f0f'; });\n"
      "const open = indexedDB.open('ondrel-test', 1);\n"
      "open.onupgradeneeded = () => open.result.createObjectStore('kept');\n"
      "open.onerror = () => { paint('#00f'); answered = true; };\n";
  return {
      {"local storage",
       paintingPage("localStorage.setItem('secret', '1');\n"
                    "paint(localStorage.getItem('secret') ? '#ff0' : '#00f');"),
       paintingPage("paint(localStorage.getItem('secret') ? '#f00' : '#0f0');")},
      {"session storage",
       paintingPage("sessionStorage.setItem('secret', '1');\n"
                    "paint(sessionStorage.getItem('secret') ? '#ff0' : '#00f');"),
       paintingPage("paint(sessionStorage.getItem('secret') ? '#f00' : '#0f0');")},
      {"cookie",
       paintingPage("document.cookie = 'secret=1; max-age=3600';\n"
                    "paint(document.cookie.includes('secret=1') ? '#ff0' : '#808080');"),
       paintingPage("paint(document.cookie.includes('secret=1') ? '#f00' : '#0f0');"), true},
      {"IndexedDB",
       paintingPage(openDatabase +
                        "open.onsuccess = () => {\n"
                        "  const store = open.result.transaction('kept', 'readwrite');\n"
                        "  store.objectStore('kept').put('1', 'secret');\n"
                        "  store.oncomplete = () => { paint('#ff0'); answered = true; };\n"
                        "};",
                    holdLoad),
       paintingPage(openDatabase +
                        "open.onsuccess = () => {\n"
                        "  const got = open.result.transaction('kept').objectStore('kept')"
                        ".get('secret');\n"
                        "  got.onsuccess = () => { paint(got.result ? '#f00' : '#0f0'); "
                        "answered = true; };\n"
                        "};",
                    holdLoad)},
  };
}

class PageIsolationTest : public ::testing::Test {
 protected:
  std::string settings(const std::string& extraLines = "") const {
    return "[SystemSetting]\nChrome=" ONDREL_CHROMIUM_WRAPPER
           "\nengine=DevTools\nwaitTime=60\nwidth=64\nheight=48\n" +
           extraLines;
  }

  // Runs ondrel-render once over every INPUT OUTPUT pair; its exit status.
  int render(const std::vector<std::pair<std::filesystem::path, std::filesystem::path>>& files) {
    const auto ini = plugin.writeFile("render.ini", settings());
    std::string line = "\"" ONDREL_RENDER_PROGRAM "\" --ini \"" + ini.string() + "\"";
    for (const auto& [input, output] : files) {
      line += " \"" + input.string() + "\" \"" + output.string() + "\"";
    }
    std::optional<platform::ChildProcess> program =
        platform::ChildProcess::start(utf8ToWide(line), plugin.folder().u16string());
    if (!program) return -1;
    for (;;) {
      const std::optional<platform::ThreadState> state = program->primaryThreadState();
      if (!state) return -2;
      if (!state->isRunning()) return int(state->exitCode());
      platform::sleepMilliseconds(50);
    }
  }

  ShallowTemporaryFolder temporary_{"ondrel-isolation-"};
  PluginModule plugin;
};

// The colour at the top-left and in the middle of a 64 x 48 picture file, when both agree.
std::optional<Colour> colourOf(const std::filesystem::path& file) {
  const auto bitmap = platform::decodePngFile(file.u16string(), 64, 48);
  if (!bitmap || bitmap->width() != 64 || bitmap->height() != 48) return std::nullopt;
  const auto colourAt = [&](int x, int y) {
    const std::uint8_t* pixel = bitmap->pixels() + (std::size_t(y) * 64 + std::size_t(x)) * 4;
    return Colour{pixel[2], pixel[1], pixel[0]};
  };
  const Colour corner = colourAt(0, 0);
  const Colour middle = colourAt(32, 24);
  if (corner.red != middle.red || corner.green != middle.green || corner.blue != middle.blue) {
    return std::nullopt;
  }
  return corner;
}

bool sameColour(const std::optional<Colour>& seen, const Colour& expected) {
  return seen && std::abs(seen->red - expected.red) <= 3 &&
         std::abs(seen->green - expected.green) <= 3 && std::abs(seen->blue - expected.blue) <= 3;
}

std::string describe(const std::optional<Colour>& colour) {
  if (!colour) return "no single colour";
  return "rgb(" + std::to_string(colour->red) + "," + std::to_string(colour->green) + "," +
         std::to_string(colour->blue) + ")";
}

TEST_F(PageIsolationTest, WhatADocumentStoresIsGoneForTheNextPicture) {
  const std::vector<StoragePages> kinds = storagePages();
  std::vector<std::pair<std::filesystem::path, std::filesystem::path>> files;
  // Twice over, so the second writer and reader follow pages of every kind.
  for (int round = 0; round < 2; ++round) {
    for (std::size_t k = 0; k < kinds.size(); ++k) {
      const std::string stem = "kind" + std::to_string(k) + "-";
      const std::string suffix = "-" + std::to_string(round) + ".png";
      files.emplace_back(plugin.writeFile(stem + "writer.html", kinds[k].writer),
                         plugin.folder() / (stem + "writer" + suffix));
      files.emplace_back(plugin.writeFile(stem + "reader.html", kinds[k].reader),
                         plugin.folder() / (stem + "reader" + suffix));
    }
  }
  ASSERT_EQ(render(files), 0);

  for (std::size_t i = 0; i < files.size(); i += 2) {
    const StoragePages& kind = kinds[(i / 2) % kinds.size()];
    const std::optional<Colour> writer = colourOf(files[i].second);
    const std::optional<Colour> reader = colourOf(files[i + 1].second);
    EXPECT_TRUE(sameColour(writer, kYellow) ||
                (kind.writerMayBeRefused && sameColour(writer, kGrey)))
        << kind.name << " writer: " << describe(writer);
    EXPECT_TRUE(sameColour(reader, kGreen)) << kind.name << " reader: " << describe(reader);
  }
}

// What a page kept off the network asks for in every way a page can, and a local picture:
// rows 0-15 a remote picture, 16-31 a local drawing, 32-47 a remote background.
std::string pageReachingOut(const std::string& origin) {
  return "<!DOCTYPE html><html><head><style>body{margin:0;background:#fff}"
         "img{display:block;width:64px;height:16px}"
         "#background{height:16px;background:url(" +
         origin +
         "/background.png)}</style></head><body>"
         "<img src=\"" +
         origin + "/image.png\"><img src=\"local.svg\"><div id=\"background\"></div>" +
         "<iframe src=\"" + origin + "/frame\" style=\"display:none\"></iframe>" +
         "<script>fetch('" + origin + "/fetch').catch(() => {});</script></body></html>\n";
}

constexpr char kBlueDrawing[] =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"16\">"
    "<rect width=\"64\" height=\"16\" fill=\"#00f\"/></svg>\n";

TEST_F(PageIsolationTest, NetworkOffLetsAPageLoadOnlyItsFilesAndData) {
  LocalHttpServer server;
  plugin.writeFile("local.svg", kBlueDrawing);
  const auto page = plugin.writeFile("reaching.html", pageReachingOut(server.origin()));

  plugin.writeSettings(settings("network=off\n"));
  HandedOverPicture blocked;
  ASSERT_EQ(plugin.picture(page, &blocked), 0);
  EXPECT_EQ(server.requests(), std::vector<std::string>());
  expectColourAt(blocked, 32, 24, kBlue);
  expectColourAt(blocked, 32, 8, kWhite);
  expectColourAt(blocked, 32, 40, kWhite);

  // Without the key the same page reaches the server, so the test above can see a leak.
  plugin.writeSettings(settings());
  HandedOverPicture open;
  ASSERT_EQ(plugin.picture(page, &open), 0);
  const std::vector<std::string> asked = server.requests();
  EXPECT_NE(std::find(asked.begin(), asked.end(), "/image.png"), asked.end());
  expectColourAt(open, 32, 8, kRed);
  expectColourAt(open, 32, 24, kBlue);
}

}  // namespace
}  // namespace ondrel::test
