#ifndef ONDREL_PLUGIN_SETTINGS_H_
#define ONDREL_PLUGIN_SETTINGS_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "capture/capture_request.h"
#include "platform/active_window.h"
#include "platform/profile_reader.h"
#include "text/wide_text.h"

namespace ondrel {

// The keys of the section "SystemSetting" and what a missing key means.
namespace setting {
inline constexpr char16_t kSection[] = u"SystemSetting";
inline constexpr char16_t kBrowser[] = u"Chrome";
inline constexpr char16_t kSvg[] = u"SVG";
inline constexpr char16_t kScrollBar[] = u"scrollBar";
inline constexpr char16_t kWidth[] = u"width";
inline constexpr char16_t kHeight[] = u"height";
inline constexpr char16_t kWaitTime[] = u"waitTime";
inline constexpr char16_t kEngine[] = u"engine";
inline constexpr char16_t kFullPage[] = u"fullPage";
inline constexpr char16_t kMarkdown[] = u"markdown";
inline constexpr char16_t kMarkdownStyle[] = u"markdownStyle";
inline constexpr char16_t kMarkdownEncoding[] = u"markdownEncoding";
inline constexpr char16_t kMarkdownDrawing[] = u"markdownDrawing";
inline constexpr char16_t kKeepBrowser[] = u"keepBrowser";
inline constexpr char16_t kNetwork[] = u"network";
inline constexpr char16_t kScale[] = u"scale";
inline constexpr char16_t kParallel[] = u"parallel";
inline constexpr char16_t kMemoryImages[] = u"memoryImages";
inline constexpr char16_t kLog[] = u"log";

// Every key above: any other in the section is named in the log as unknown,
// with the nearest of these. A key added above belongs here too, and in the
// example settings files, which a test holds to this list.
inline constexpr WideView kKnownKeys[] = {kBrowser,
                                          kSvg,
                                          kScrollBar,
                                          kWidth,
                                          kHeight,
                                          kWaitTime,
                                          kEngine,
                                          kFullPage,
                                          kMarkdown,
                                          kMarkdownStyle,
                                          kMarkdownEncoding,
                                          kMarkdownDrawing,
                                          kKeepBrowser,
                                          kNetwork,
                                          kScale,
                                          kMemoryImages,
                                          kLog,
                                          kParallel};

inline constexpr char16_t kBrowserDefault[] = u"";
inline constexpr char16_t kSvgDefault[] = u"ON";
inline constexpr char16_t kScrollBarDefault[] = u"OFF";
inline constexpr int kWidthDefault = 640;
inline constexpr int kHeightDefault = 480;
inline constexpr int kWaitTimeDefault = 5;
inline constexpr char16_t kEngineDefault[] = u"";
inline constexpr char16_t kFullPageDefault[] = u"OFF";
inline constexpr char16_t kDevToolsEngine[] = u"DevTools";
inline constexpr char16_t kMarkdownDefault[] = u"";  // the built-in converter
inline constexpr char16_t kMarkdownStyleDefault[] = u"";
inline constexpr int kMarkdownEncodingDefault = int(platform::kAnsiCodePage);
inline constexpr char16_t kMarkdownDrawingDefault[] = u"OFF";
inline constexpr int kKeepBrowserDefault = 60;
inline constexpr char16_t kNetworkDefault[] = u"";  // the page may load anything
inline constexpr char16_t kNetworkOff[] = u"OFF";
inline constexpr char16_t kScaleDefault[] = u"1";
inline constexpr double kSmallestScale = 1.0;
inline constexpr double kLargestScale = 4.0;
inline constexpr int kParallelDefault = 2;
inline constexpr int kFewestParallel = 1;
inline constexpr int kMostParallel = 8;
inline constexpr char16_t kMemoryImagesDefault[] = u"OFF";
inline constexpr char16_t kLogDefault[] = u"";  // nothing is written anywhere
// A log above this many bytes is renamed to NAME.1 and begun again.
inline constexpr std::uint64_t kLogRotationBytes = std::uint64_t(1) << 20;

inline constexpr std::size_t kTextCapacity = 260;
inline constexpr std::size_t kScrollBarCapacity = 32;
inline constexpr std::size_t kEngineCapacity = 32;
inline constexpr std::size_t kFullPageCapacity = 32;
inline constexpr std::size_t kNetworkCapacity = 32;
inline constexpr std::size_t kScaleCapacity = 32;
inline constexpr std::size_t kMemoryImagesCapacity = 32;
inline constexpr std::size_t kMarkdownDrawingCapacity = 32;
}  // namespace setting

// Where the settings come from. Every read goes to the source afresh, so an
// edit of the file shows at the next call.
class SettingsSource {
 public:
  virtual ~SettingsSource() = default;
  virtual WideString readText(WideView key, WideView fallback, std::size_t capacity) const = 0;
  virtual int readInteger(WideView key, int fallback) const = 0;
  virtual std::optional<platform::ClientArea> activeWindowClientArea() const = 0;
  virtual bool pathExists(const WideString& path) const = 0;
  // Every key of the file in every section, for telling unknown ones;
  // none where there is no file.
  virtual std::vector<platform::ProfileKey> keysInFile() const { return {}; }

  WideString browserPath() const;
  bool svgEnabled() const;
  bool scrollBarsShown() const;
  int waitSeconds() const;
  // "DevTools" in any letter case; any other value, or none, keeps the
  // one-shot "--screenshot" engine.
  CaptureEngine captureEngine() const;
  // On only with the DevTools engine.
  bool fullPage() const;
  // The Markdown dialect's name and the style file for it, as written; what
  // they select is decided in capture/markdown_dialect.h.
  WideString markdownDialect() const;
  WideString markdownStylePath() const;
  // The Windows code page that GitHub-flavoured staging decodes a document
  // in neither UTF-8 nor UTF-16 from; platform::kAnsiCodePage when the key
  // is missing or not a code page number.
  std::uint32_t markdownCodePage() const;
  // "ON" in any letter case: GitHub-flavoured pages draw their code, math
  // and diagrams (capture/staging/markdown_dialect.h).
  bool markdownDrawn() const;
  // Idle seconds a browser of the DevTools engine is kept for the next
  // picture; 0 (a browser per picture) for the other engine or below 0.
  int keepBrowserSeconds() const;
  // "OFF" in any letter case, with the DevTools engine: pages load file: and
  // data: resources only. The one-shot engine cannot block the network.
  bool networkBlocked() const;
  // The device scale factor, a decimal number from 1 to 4 (parseDeviceScale);
  // 1 when the key is missing, unreadable or out of range.
  double deviceScale() const;
  // How many pictures a kept browser draws at once, from 1 to 8; 2 when the
  // key is missing, unreadable or out of range.
  int parallelPictures() const;
  // "ON" in any letter case: pictures handed over in memory, without a
  // name, are taken as the page their bytes show (capture/page_kind_sniffing.h).
  bool memoryImagesTaken() const;
  // The log file's name as written; empty: no log.
  WideString logPath() const;
};

// The file beside the module: its name with the extension ".ini".
std::optional<WideString> settingsFilePath();

// A settings file read through the platform, as the plug-in reads its own.
class SettingsFile : public SettingsSource {
 public:
  // An empty name stands for no file: every key then takes its default.
  explicit SettingsFile(WideString file) : file_(std::move(file)) {}
  WideString readText(WideView key, WideView fallback, std::size_t capacity) const override;
  int readInteger(WideView key, int fallback) const override;
  std::optional<platform::ClientArea> activeWindowClientArea() const override;
  bool pathExists(const WideString& path) const override;
  std::vector<platform::ProfileKey> keysInFile() const override;

  const WideString& file() const { return file_; }
  // The log file's full name, a relative one taken beside the settings file;
  // empty when there is no log.
  WideString logFile() const;

 private:
  WideString file_;
};

// The settings file of the running module.
class ModuleSettings final : public SettingsFile {
 public:
  // When the module's name is unknown, every key takes its default.
  ModuleSettings();
};

// "ON" in any letter case is on; everything else, empty included, is off.
bool isOn(WideView value);

// A scale written as digits with an optional decimal point ("2", "1.5",
// "1.25"), from kSmallestScale to kLargestScale; nothing for anything else.
std::optional<double> parseDeviceScale(WideView text);

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_SETTINGS_H_
