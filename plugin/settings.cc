#include "plugin/settings.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "platform/module_path.h"
#include "platform/profile_reader.h"
#include "platform/shell_paths.h"
#include "platform/text_codec.h"

namespace ondrel {

bool isOn(WideView value) { return equalsIgnoringAsciiCase(value, u"ON"); }

std::optional<double> parseDeviceScale(WideView text) {
  std::string digits;
  for (const char16_t c : text) {
    if ((c < u'0' || c > u'9') && c != u'.') return std::nullopt;
    digits.push_back(char(c));
  }
  double scale = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, scale, std::chars_format::fixed);
  if (digits.empty() || error != std::errc() || stop != end) return std::nullopt;
  if (scale < setting::kSmallestScale || scale > setting::kLargestScale) return std::nullopt;
  return scale;
}

WideString SettingsSource::browserPath() const {
  return readText(setting::kBrowser, setting::kBrowserDefault, setting::kTextCapacity);
}

bool SettingsSource::svgEnabled() const {
  return isOn(readText(setting::kSvg, setting::kSvgDefault, setting::kTextCapacity));
}

bool SettingsSource::scrollBarsShown() const {
  return isOn(
      readText(setting::kScrollBar, setting::kScrollBarDefault, setting::kScrollBarCapacity));
}

int SettingsSource::waitSeconds() const {
  return readInteger(setting::kWaitTime, setting::kWaitTimeDefault);
}

CaptureEngine SettingsSource::captureEngine() const {
  const WideString engine =
      readText(setting::kEngine, setting::kEngineDefault, setting::kEngineCapacity);
  return equalsIgnoringAsciiCase(engine, setting::kDevToolsEngine)
             ? CaptureEngine::kDevTools
             : CaptureEngine::kScreenshotSwitch;
}

bool SettingsSource::fullPage() const {
  return captureEngine() == CaptureEngine::kDevTools &&
         isOn(readText(setting::kFullPage, setting::kFullPageDefault, setting::kFullPageCapacity));
}

WideString SettingsSource::markdownDialect() const {
  return readText(setting::kMarkdown, setting::kMarkdownDefault, setting::kTextCapacity);
}

WideString SettingsSource::markdownStylePath() const {
  return readText(setting::kMarkdownStyle, setting::kMarkdownStyleDefault, setting::kTextCapacity);
}

std::uint32_t SettingsSource::markdownCodePage() const {
  const int codePage = readInteger(setting::kMarkdownEncoding, setting::kMarkdownEncodingDefault);
  return codePage > 0 ? std::uint32_t(codePage) : platform::kAnsiCodePage;
}

bool SettingsSource::markdownDrawn() const {
  return isOn(readText(setting::kMarkdownDrawing, setting::kMarkdownDrawingDefault,
                       setting::kMarkdownDrawingCapacity));
}

int SettingsSource::keepBrowserSeconds() const {
  if (captureEngine() != CaptureEngine::kDevTools) return 0;
  return std::max(readInteger(setting::kKeepBrowser, setting::kKeepBrowserDefault), 0);
}

int SettingsSource::parallelPictures() const {
  const int parallel = readInteger(setting::kParallel, setting::kParallelDefault);
  if (parallel < setting::kFewestParallel || parallel > setting::kMostParallel) {
    return setting::kParallelDefault;
  }
  return parallel;
}

bool SettingsSource::networkBlocked() const {
  return captureEngine() == CaptureEngine::kDevTools &&
         equalsIgnoringAsciiCase(
             readText(setting::kNetwork, setting::kNetworkDefault, setting::kNetworkCapacity),
             setting::kNetworkOff);
}

double SettingsSource::deviceScale() const {
  return parseDeviceScale(
             readText(setting::kScale, setting::kScaleDefault, setting::kScaleCapacity))
      .value_or(1.0);
}

bool SettingsSource::memoryImagesTaken() const {
  return isOn(readText(setting::kMemoryImages, setting::kMemoryImagesDefault,
                       setting::kMemoryImagesCapacity));
}

WideString SettingsSource::logPath() const {
  return readText(setting::kLog, setting::kLogDefault, setting::kTextCapacity);
}

std::optional<WideString> settingsFilePath() {
  const std::optional<WideString> module = platform::moduleFileName();
  if (!module) return std::nullopt;
  return platform::renameExtension(*module, u".ini");
}

ModuleSettings::ModuleSettings() : SettingsFile(settingsFilePath().value_or(WideString())) {}

WideString SettingsFile::readText(WideView key, WideView fallback, std::size_t capacity) const {
  if (file_.empty()) {
    WideString value(fallback);
    if (value.size() >= capacity) value.resize(capacity == 0 ? 0 : capacity - 1);
    return value;
  }
  return platform::readProfileString(file_, setting::kSection, key, fallback, capacity);
}

int SettingsFile::readInteger(WideView key, int fallback) const {
  if (file_.empty()) return fallback;
  return platform::readProfileInt(file_, setting::kSection, key, fallback);
}

std::optional<platform::ClientArea> SettingsFile::activeWindowClientArea() const {
  return platform::activeWindowClientArea();
}

bool SettingsFile::pathExists(const WideString& path) const { return platform::pathExists(path); }

WideString SettingsFile::logFile() const {
  const WideString name = logPath();
  if (name.empty() || !platform::isRelativePath(name)) return name;
  const WideView folder =
      WideView(file_).substr(0, file_.size() - platform::stripPath(file_).size());
  return platform::combinePath(folder, name).value_or(WideString());
}

std::vector<platform::ProfileKey> SettingsFile::keysInFile() const {
  if (file_.empty()) return {};
  return platform::readProfileKeys(file_);
}

}  // namespace ondrel
