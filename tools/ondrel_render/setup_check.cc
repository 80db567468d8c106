#include "tools/ondrel_render/setup_check.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "capture/capture_report.h"
#include "capture/page_capture.h"
#include "platform/files.h"
#include "platform/private_folder.h"
#include "platform/shell_paths.h"
#include "platform/text_codec.h"
#include "plugin/capture_size.h"
#include "plugin/input_acceptance.h"
#include "plugin/request_from_settings.h"
#include "plugin/settings.h"
#include "plugin/unknown_keys.h"
#include "tools/ondrel_render/check_pages.h"
#include "tools/ondrel_render/render_command.h"

namespace ondrel_render {
namespace {

using ondrel::WideString;
using ondrel::wideToUtf8;
using ondrel::WideView;
namespace platform = ondrel::platform;
namespace setting = ondrel::setting;

// The settings as the plug-in reads them, but for the viewer's window, which
// a check has none of.
class CheckedSettings final : public ondrel::SettingsFile {
 public:
  using SettingsFile::SettingsFile;
  std::optional<platform::ClientArea> activeWindowClientArea() const override {
    return std::nullopt;
  }
};

// What does not work, and what the user should change for it.
struct Problem {
  std::string what;
  std::string fix;
};

class SetupCheck {
 public:
  SetupCheck(const WideString& settingsFile, std::ostream& out)
      : settings_(settingsFile), shownFile_(wideToUtf8(settingsFile)), out_(out) {}

  int run() {
    describeSettings();
    if (checkBrowser()) {
      renderPage(ondrel_render::htmlCheckPage());
      renderPage(ondrel_render::markdownCheckPage());
      ondrel::closeKeptBrowser();
    }
    return conclude();
  }

 private:
  void describeSettings();
  void describeKey(WideView key);
  void warnAboutKeys();
  bool checkBrowser();
  void renderPage(const CheckPage& page);
  int conclude();

  bool isSet(WideView key) const;
  const char* markdownDialectName() const {
    return ondrel::equalsIgnoringAsciiCase(settings_.markdownDialect(), u"GFM") ? "GFM"
                                                                                : "built-in";
  }
  std::string meaningOf(WideView key) const;
  void problem(std::string what, std::string fix) {
    out_ << "  problem: " << what << '\n';
    problems_.push_back({std::move(what), std::move(fix)});
  }

  CheckedSettings settings_;
  std::string shownFile_;
  std::ostream& out_;
  std::vector<Problem> problems_;
};

std::string onOff(bool on) { return on ? "on" : "off"; }

// Keys are shown in a column this wide, the two spaces before them included.
constexpr std::size_t kKeyColumn = 19;

std::string seconds(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", value);
  return text;
}

bool SetupCheck::isSet(WideView key) const {
  for (const platform::ProfileKey& found : settings_.keysInFile()) {
    if (ondrel::equalsIgnoringAsciiCase(found.section, setting::kSection) &&
        ondrel::equalsIgnoringAsciiCase(found.key, key)) {
      return true;
    }
  }
  return false;
}

// What the plug-in makes of a key; a key this tool does not describe is
// shown with its value alone.
std::string SetupCheck::meaningOf(WideView key) const {
  const CheckedSettings& s = settings_;
  const auto is = [&](const char16_t* name) { return key == WideView(name); };
  if (is(setting::kBrowser)) {
    return s.browserPath().empty() ? "no browser: the plug-in takes no file" : "the browser";
  }
  if (is(setting::kSvg))
    return onOff(s.svgEnabled()) + ": SVG drawings are " + (s.svgEnabled() ? "taken" : "refused");
  if (is(setting::kScrollBar)) {
    return onOff(s.scrollBarsShown()) + ": pages " +
           (s.scrollBarsShown() ? "may show" : "show no") + " scroll bars";
  }
  if (is(setting::kWidth) || is(setting::kHeight)) {
    const ondrel::PictureSize size = ondrel::resolveCaptureSize(s);
    return "pictures are " + std::to_string(size.width) + " x " + std::to_string(size.height) +
           " (0 takes the viewer window's size)";
  }
  if (is(setting::kWaitTime)) {
    return s.waitSeconds() == 0 ? "no time limit"
                                : "a picture may take " + std::to_string(s.waitSeconds()) + " s";
  }
  if (is(setting::kEngine)) {
    return s.captureEngine() == ondrel::CaptureEngine::kDevTools
               ? "the DevTools engine"
               : "the one-shot engine (only \"DevTools\" chooses the other)";
  }
  if (is(setting::kFullPage)) return onOff(s.fullPage()) + ": whole pages (DevTools engine only)";
  if (is(setting::kKeepBrowser)) {
    if (s.captureEngine() != ondrel::CaptureEngine::kDevTools) {
      return "no effect: the one-shot engine starts a browser for each picture";
    }
    return s.keepBrowserSeconds() == 0
               ? "a browser for each picture"
               : "the browser is kept " + std::to_string(s.keepBrowserSeconds()) +
                     " s for the next picture";
  }
  if (is(setting::kNetwork)) {
    return s.networkBlocked() ? "pages load file: and data: only" : "pages load what they ask for";
  }
  if (is(setting::kMarkdown)) {
    return markdownDialectName() == std::string_view("GFM") ? "GitHub-flavoured Markdown"
                                                            : "the built-in Markdown converter";
  }
  if (is(setting::kMarkdownStyle)) {
    const WideString style = s.markdownStylePath();
    if (style.empty()) return "the built-in style of GFM pages";
    return platform::readFileBytes(style) ? "this style for GFM pages"
                                          : "cannot be read: the built-in style is used";
  }
  if (is(setting::kMarkdownEncoding)) {
    const std::uint32_t codePage = s.markdownCodePage();
    return "GFM documents neither UTF-8 nor UTF-16 are read in " +
           (codePage == platform::kAnsiCodePage ? std::string("the system's ANSI code page")
                                                : "code page " + std::to_string(codePage));
  }
  if (is(setting::kMarkdownDrawing)) {
    if (!s.markdownDrawn()) return "off: code, math and diagrams show as text";
    return markdownDialectName() == std::string_view("GFM")
               ? "on: GFM pages draw code, math and diagrams with the scripts in ondrel-assets "
                 "beside the module"
               : "no effect: only GFM pages draw code, math and diagrams";
  }
  if (is(setting::kScale)) {
    if (s.deviceScale() == 1.0) return "pages are drawn one device pixel a pixel";
    char scale[32];
    std::snprintf(scale, sizeof scale, "%g", s.deviceScale());
    return std::string("pages are drawn at ") + scale + " device pixels a pixel";
  }
  if (is(setting::kMemoryImages)) {
    return onOff(s.memoryImagesTaken()) + ": documents handed over in memory are " +
           (s.memoryImagesTaken() ? "taken" : "refused");
  }
  if (is(setting::kLog)) {
    const WideString log = s.logFile();
    return log.empty() ? "no log" : "the log goes to " + wideToUtf8(log);
  }
  return {};
}

void SetupCheck::describeKey(WideView key) {
  const WideString value = settings_.readText(key, u"", setting::kTextCapacity);
  std::string line = "  " + wideToUtf8(key);
  line.resize(std::max<std::size_t>(line.size(), kKeyColumn), ' ');
  line += " = " + (isSet(key) ? wideToUtf8(value) : std::string("(not set)"));
  const std::string meaning = meaningOf(key);
  if (!meaning.empty()) line += "  -> " + meaning;
  out_ << line << '\n';
}

void SetupCheck::warnAboutKeys() {
  for (const ondrel::KeyWarning& warning : ondrel::keyWarnings(settings_.keysInFile())) {
    const std::string key = ondrel::inQuotes(warning.found.key);
    std::string fix;
    if (warning.kind == ondrel::KeyWarning::Kind::kWrongSection) {
      fix = "move " + key + " into [SystemSetting] in " + shownFile_;
    } else if (!warning.meant.empty()) {
      fix = "rename " + key + " to " + ondrel::inQuotes(warning.meant) + " in " + shownFile_;
    } else {
      fix = "remove " + key + " from " + shownFile_ + ", which the plug-in does not read";
    }
    problem(warning.inWords(), fix);
  }
}

void SetupCheck::describeSettings() {
  out_ << "Settings: " << shownFile_;
  if (!platform::pathExists(settings_.file())) out_ << " (missing: every key takes its default)";
  out_ << "\n  section [SystemSetting], as the plug-in reads it:\n";
  for (WideView key : setting::kKnownKeys) describeKey(key);
  warnAboutKeys();
}

bool SetupCheck::checkBrowser() {
  const WideString browser = settings_.browserPath();
  out_ << "Browser: " << (browser.empty() ? "(none)" : wideToUtf8(browser)) << '\n';
  if (const std::optional<std::string> refusal = ondrel::refusalOf(settings_, std::nullopt)) {
    problem(*refusal, "set Chrome in [SystemSetting] of " + shownFile_ +
                          " to the full path of a Chromium-family browser");
    return false;
  }
  ondrel::CaptureReport report;
  std::optional<ondrel::CaptureRequest> request =
      ondrel::captureRequestFor(settings_, u"version.html", {}, ondrel::PageOrigin::kFile);
  if (!request) return false;
  request->report = &report;
  bool refusedPipe = false;
  const std::optional<std::string> version = ondrel::browserVersion(*request, refusedPipe);
  if (version) {
    out_ << "  version: " << *version << '\n';
    return true;
  }
  const bool devTools = request->engine == ondrel::CaptureEngine::kDevTools;
  out_ << "  version: unknown (" << report.failure() << ")\n";
  if (refusedPipe && devTools) {
    problem(
        "the browser refuses the DevTools pipe: the plug-in takes its pictures with the "
        "one-shot engine instead",
        "allow the browser remote debugging (a policy may forbid it), install a newer "
        "browser, or remove engine=DevTools from " +
            shownFile_);
  } else if (!refusedPipe && devTools) {
    problem("the browser gave no version over its DevTools pipe: " + report.failure(),
            "raise waitTime in " + shownFile_ + ", or name another browser in Chrome");
  }
  return true;
}

void SetupCheck::renderPage(const CheckPage& page) {
  std::optional<platform::PrivateFolder> folder =
      platform::PrivateFolder::makeFresh("ondrel-check-");
  const WideString name = u"check" + ondrel::widenAscii(page.extension);
  if (!folder || folder->createFile(name, page.text) != platform::NewFile::kCreated) {
    problem("the test page could not be written into the temporary folder",
            "make room in the temporary folder, or make it writable");
    return;
  }
  const WideString path = platform::combinePath(folder->path(), name).value_or(WideString());
  ondrel::CaptureReport report;
  std::optional<ondrel::CaptureRequest> request = ondrel::captureRequestFor(
      settings_, path, {reinterpret_cast<const std::uint8_t*>(page.text.data()), page.text.size()},
      ondrel::PageOrigin::kFile);
  if (!request) {
    problem("the picture is too wide for a 24-bit bitmap", "lower width in " + shownFile_);
    return;
  }
  request->report = &report;
  const auto start = std::chrono::steady_clock::now();
  const std::unique_ptr<platform::ScreenshotBitmap> picture = ondrel::capturePage(*request);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  out_ << page.name;
  if (page.extension == ".md") out_ << " (" << markdownDialectName() << ")";
  out_ << ": " << seconds(took.count()) << ", " << report.engine() << " engine";
  if (!picture) {
    out_ << ", no picture\n";
    problem(std::string(page.name) + " gave no picture: " + report.failure(),
            report.failure().starts_with("no picture after")
                ? "raise waitTime in " + shownFile_
                : "check the browser named in Chrome, or try the other engine");
    return;
  }
  out_ << ", " << picture->width() << " x " << picture->height() << '\n';
  const std::string mismatch = colourMismatch(page, *picture);
  if (mismatch.empty()) {
    out_ << "  its colours came out right\n";
  } else {
    problem(std::string(page.name) + ": the colours came out wrong: " + mismatch,
            "use a Chromium-family browser (Edge, Chrome, Chromium) in Chrome");
  }
}

int SetupCheck::conclude() {
  if (problems_.empty()) {
    out_ << "Everything works.\n";
    return kExitRendered;
  }
  out_ << (problems_.size() == 1 ? "One thing" : std::to_string(problems_.size()) + " things")
       << " to change:\n";
  for (const Problem& found : problems_) out_ << "To fix: " << found.fix << '\n';
  return kExitFailed;
}

// The settings the plug-in of `module` reads: its name with ".ini".
std::optional<WideString> settingsBeside(const WideString& module) {
  return platform::renameExtension(module, u".ini");
}

}  // namespace

int checkSetup(const RenderOptions& options, const WideString& defaultModule, std::ostream& out) {
  std::optional<WideString> settingsFile;
  if (options.settingsPath) {
    // The platform's reader takes a bare name from elsewhere than here.
    settingsFile = platform::ansiToWide(options.settingsPath->c_str());
    std::error_code error;
    if (settingsFile) {
      settingsFile = std::filesystem::absolute(std::filesystem::path(*settingsFile), error)
                         .lexically_normal()
                         .u16string();
    }
    if (error) settingsFile.reset();
  } else {
    const std::optional<WideString> module =
        options.modulePath ? platform::ansiToWide(options.modulePath->c_str()) : defaultModule;
    if (module) settingsFile = settingsBeside(*module);
  }
  if (!settingsFile) {
    out << "The settings file's name cannot be used.\nTo fix: give its name with --ini FILE\n";
    return kExitFailed;
  }
  return SetupCheck(*settingsFile, out).run();
}

}  // namespace ondrel_render
