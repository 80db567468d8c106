#include "tests/fake_browser/devtools_pipe.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "tests/fake_browser/browser_command_line.h"
#include "tests/fake_browser/pipe_io.h"
#include "tests/support/fake_browser_env.h"
#include "tests/support/png_writer.h"
#include "tests/support/test_pattern.h"

namespace ondrel::test {
namespace {

using nlohmann::json;

constexpr int kExitClosed = 0;
constexpr int kExitUsage = 2;
constexpr int kExitPipeFailed = 4;
constexpr int kExitCrashed = 5;

[[noreturn]] void hang() {
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}

std::string base64(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t group = 0;
    for (std::size_t j = 0; j < 3; ++j) {
      group = group << 8 | (j < count ? std::uint8_t(bytes[i + j]) : 0);
    }
    for (std::size_t j = 0; j < 4; ++j) {
      text += j <= count ? kAlphabet[(group >> (18 - 6 * j)) & 0x3F] : '=';
    }
  }
  return text;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string readWhole(const std::filesystem::path& path, bool& found) {
  std::ifstream file(path, std::ios::binary);
  found = bool(file);
  std::ostringstream text;
  if (file) text << file.rdbuf();
  return text.str();
}

// The decimal number after the first "page-height:" in a page: the content height it reports.
std::optional<double> contentHeightOfPage(std::string_view page) {
  const std::size_t at = page.find("page-height:");
  if (at == std::string_view::npos) return std::nullopt;
  return std::atof(std::string(page.substr(at + 12, 16)).c_str());
}

// Appends every command it is sent to the file kFakeBrowserProtocolLogVariable names, one JSON
// line each.
class ProtocolLog {
 public:
  ProtocolLog() {
    const char* path = std::getenv(kFakeBrowserProtocolLogVariable);
    if (path != nullptr && *path != '\0') file_.open(path, std::ios::app | std::ios::binary);
  }
  void write(const std::string& line) {
    if (file_) file_ << line << '\n' << std::flush;
  }

 private:
  std::ofstream file_;
};

class FakeDevTools {
 public:
  FakeDevTools(std::string_view mode, int delay) : mode_(mode), delay_(delay) {}

  int run() {
    std::string pending;
    char chunk[4096];
    for (;;) {
      const long got = readFromPipe(chunk, sizeof chunk);
      if (got <= 0) return got == 0 ? kExitClosed : kExitPipeFailed;
      pending.append(chunk, std::size_t(got));
      for (std::size_t end; (end = pending.find('\0')) != std::string::npos;) {
        const std::string text = pending.substr(0, end);
        pending.erase(0, end + 1);
        log_.write(text);
        if (const std::optional<int> exit = answer(json::parse(text))) return *exit;
      }
    }
  }

 private:
  // Answers one command; an exit code when the browser ends with it.
  std::optional<int> answer(const json& command) {
    if (mode_ == "close-pipe") {
      closePipe();
      hang();
    }
    if (mode_ == "exit") return kExitClosed;
    if (mode_ == "bad-json") {
      send("{\"id\": 1, \"result\": {\"truncated\"");
      return std::nullopt;
    }
    const std::string method = command.value("method", "");
    const json params = command.value("params", json::object());
    const std::string session = command.value("sessionId", "");
    json result = json::object();
    if (method == "Target.createBrowserContext") {
      result = {{"browserContextId", "fake-context-" + std::to_string(++contexts_)}};
    } else if (method == "Target.createTarget") {
      result = {{"targetId", "fake-target"}};
    } else if (method == "Target.attachToTarget") {
      result = {{"sessionId", "fake-session"}};
    } else if (method == "Emulation.setDeviceMetricsOverride") {
      const WindowSize device = scaledWindow({params.value("width", 0), params.value("height", 0)},
                                             params.value("deviceScaleFactor", 1.0));
      cssWidth_ = params.value("width", 0);
      cssHeight_ = params.value("height", 0);
      width_ = device.width;
      height_ = device.height;
    } else if (method == "Page.navigate") {
      if (mode_ == "crash-at-second-page" && ++pages_ == 2) return kExitCrashed;
      return navigate(command, params.value("url", ""));
    } else if (method == "Page.getLayoutMetrics") {
      const double height = contentHeightOfPage(page_).value_or(double(cssHeight_));
      result = {{"cssContentSize", {{"x", 0}, {"y", 0}, {"width", cssWidth_}, {"height", height}}}};
    } else if (method == "Page.captureScreenshot") {
      result = {{"data", screenshot()}};
    } else if (method == "Browser.close") {
      reply(command, result);
      if (mode_ == "linger") hang();
      return kExitClosed;
    } else if (method != "Page.enable" && method != "Target.disposeBrowserContext" &&
               method != "Fetch.enable") {
      send(json{{"id", command["id"]}, {"error", {{"code", -32601}, {"message", "unknown"}}}}
               .dump());
      return std::nullopt;
    }
    reply(command, result);
    return std::nullopt;
  }

  std::optional<int> navigate(const json& command, const std::string& url) {
    bool found = false;
    page_ = readWhole(std::filesystem::path(pathOfFileUrl(url)), found);
    if (!found) {
      reply(command, {{"frameId", "fake-frame"}, {"errorText", "net::ERR_FILE_NOT_FOUND"}});
      return std::nullopt;
    }
    reply(command, {{"frameId", "fake-frame"}, {"loaderId", "fake-loader"}});
    // A page that never loads sends no load event.
    if (mode_ != "no-load") {
      send(json{{"method", "Page.loadEventFired"},
                {"params", {{"timestamp", 1.0}}},
                {"sessionId", command.value("sessionId", "")}}
               .dump());
    }
    return std::nullopt;
  }

  std::string screenshot() {
    std::this_thread::sleep_for(std::chrono::milliseconds(delay_ + pauseOfPage(page_)));
    if (mode_ == "not-png") return base64("this is not a png\n");
    const int width = mode_ == "smaller" ? std::max(width_ / 2, 1) : width_;
    const int height = mode_ == "smaller" ? std::max(height_ / 2, 1) : height_;
    return base64(encodePng(patternImage(width, height, seedOfPage(page_))));
  }

  void reply(const json& command, const json& result) {
    json answer = {{"id", command["id"]}, {"result", result}};
    if (command.contains("sessionId")) answer["sessionId"] = command["sessionId"];
    send(answer.dump());
  }

  void send(std::string text) {
    text.push_back('\0');
    if (!writeToPipe(text)) std::exit(kExitPipeFailed);
  }

  std::string mode_;
  int delay_;
  ProtocolLog log_;
  int pages_ = 0;
  int contexts_ = 0;
  // The viewport in device pixels, and in CSS pixels.
  int width_ = 0;
  int height_ = 0;
  int cssWidth_ = 0;
  int cssHeight_ = 0;
  std::string page_;
};

}  // namespace

std::string pathOfFileUrl(std::string_view url) {
  constexpr std::string_view kScheme = "file://";
  if (url.substr(0, kScheme.size()) != kScheme) return {};
  url.remove_prefix(kScheme.size());
  std::string path = url.front() == '/' ? "" : "//";  // a host: a UNC name
  for (std::size_t i = 0; i < url.size(); ++i) {
    if (url[i] == '%' && i + 2 < url.size() && hexValue(url[i + 1]) >= 0 &&
        hexValue(url[i + 2]) >= 0) {
      path.push_back(char(hexValue(url[i + 1]) * 16 + hexValue(url[i + 2])));
      i += 2;
    } else {
      path.push_back(url[i]);
    }
  }
  // "/C:/dir" is a drive path.
  if (path.size() >= 3 && path[0] == '/' && path[2] == ':') path.erase(0, 1);
  return path;
}

int speakDevTools(const BrowserCommandLine& commandLine, std::string_view mode,
                  int delayMilliseconds) {
  // Like a real browser, it fills the profile folder it is given.
  const std::optional<std::string> profile = commandLine.switchValue("user-data-dir");
  if (!profile || !std::filesystem::is_directory(*profile)) return kExitUsage;
  std::filesystem::create_directories(std::filesystem::path(*profile) / "Default" / "Cache");
  std::ofstream(std::filesystem::path(*profile) / "Default" / "Preferences") << "{}\n";
  if (mode == "hang") hang();
  return FakeDevTools(mode, delayMilliseconds).run();
}

}  // namespace ondrel::test
