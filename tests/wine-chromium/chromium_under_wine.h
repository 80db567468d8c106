// What every test of the Windows module with the real Chromium under wine
// shares: the module loaded as a viewer loads it, with the stand-in as its
// browser and a Unix run folder of the test's own; the settings sets that
// the Linux build's reference pictures were made with; and the check that
// a test leaves neither a browser process nor a file behind.
#ifndef ONDREL_TESTS_WINE_CHROMIUM_CHROMIUM_UNDER_WINE_H_
#define ONDREL_TESTS_WINE_CHROMIUM_CHROMIUM_UNDER_WINE_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/host_support.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"
#include "tests/wine-chromium/unix_run_folder.h"

namespace ondrel::wine_chromium {

// The samples every build shows, and the documents of these tests.
std::filesystem::path example(const std::string& name);
std::filesystem::path document(const std::string& name);
// The three samples and a drawing 123 px high, of which every set but the
// exact and the whole page has the Linux build's pictures.
std::vector<std::filesystem::path> samplesAndSmallDrawing();

// A copy of `file` in `folder` under a name too long for 8.3, and its short
// (8.3) name, as NeeView hands documents to the plug-in.
std::filesystem::path shortNamedCopy(const std::filesystem::path& file,
                                     const std::filesystem::path& folder);

class ChromiumUnderWine : public ::testing::Test {
 protected:
  // The settings of `set` (settings/SET.ini, as the references were made)
  // with the stand-in as the browser; `extraLines` come first, and the first
  // of two equal keys is the one read.
  void useSettings(const std::string& set, const std::string& extraLines = "");

  // The picture of `page`, which must come.
  test::HandedOverPicture picture(const std::filesystem::path& page);

  // The browser profiles in the module's temporary folder: one for each
  // browser the DevTools engine keeps.
  int browserProfiles() const;

  // Unloads the module; then no Unix process of the test's runs may be left,
  // nothing in the run folder and nothing in the module's temporary folder.
  void TearDown() override;

  // The screenshot decoder of the module and of the test wants COM on the calling thread.
  platform::ComApartment com;
  UnixRunFolder run;
  test::PluginModule plugin;
};

// Where `picture` differs from the Linux build's picture of the document
// named `document` in the set `set`: a description, or empty when every
// pixel is the same.
std::string differenceFromLinux(const test::HandedOverPicture& picture, const std::string& set,
                                const std::filesystem::path& document);

}  // namespace ondrel::wine_chromium

#endif  // ONDREL_TESTS_WINE_CHROMIUM_CHROMIUM_UNDER_WINE_H_
