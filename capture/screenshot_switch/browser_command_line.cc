#include "capture/screenshot_switch/browser_command_line.h"

#include <charconv>
#include <string>

namespace ondrel {
namespace {

// The fewest digits that read back as `value`: "2", "1.5", "1.25".
std::string shortestDecimal(double value) {
  char digits[32];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
  return error == std::errc() ? std::string(digits, end) : std::string("1");
}

void appendQuoted(WideString& line, WideView text) {
  line += u'"';
  line += text;
  line += u'"';
}

}  // namespace

WideString browserCommandLine(CommandLineForm form, Elevation elevation, WideView browserPath,
                              double deviceScale, std::int32_t width, std::int32_t height,
                              WideView screenshotPath, WideView page) {
  WideString line;
  appendQuoted(line, browserPath);
  line += u" --headless";
  if (elevation == Elevation::kFull) line += u" --do-not-de-elevate";
  if (form == CommandLineForm::kLong) line += u" --disable-extensions --hide-scrollbars";
  if (deviceScale != 1.0) {
    line += u" --force-device-scale-factor=";
    line += widenAscii(shortestDecimal(deviceScale));
  }
  line += u" --window-size=";
  line += widenAscii(std::to_string(width) + "," + std::to_string(height));
  line += u" --screenshot=";
  appendQuoted(line, screenshotPath);
  line += u' ';
  appendQuoted(line, page);
  return line;
}

}  // namespace ondrel
