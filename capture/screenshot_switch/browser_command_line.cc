#include "capture/screenshot_switch/browser_command_line.h"

#include <string>

namespace ondrel {
namespace {

void appendQuoted(WideString& line, WideView text) {
  line += u'"';
  line += text;
  line += u'"';
}

}  // namespace

WideString browserCommandLine(CommandLineForm form, Elevation elevation, WideView browserPath,
                              std::int32_t width, std::int32_t height, WideView screenshotPath,
                              WideView page) {
  WideString line;
  appendQuoted(line, browserPath);
  line += u" --headless";
  if (elevation == Elevation::kFull) line += u" --do-not-de-elevate";
  if (form == CommandLineForm::kLong) line += u" --disable-extensions --hide-scrollbars";
  line += u" --window-size=";
  line += widenAscii(std::to_string(width) + "," + std::to_string(height));
  line += u" --screenshot=";
  appendQuoted(line, screenshotPath);
  line += u' ';
  appendQuoted(line, page);
  return line;
}

}  // namespace ondrel
