#include "plugin/call_log.h"

#include "capture/page_kinds.h"
#include "platform/local_time.h"
#include "platform/log_file.h"
#include "plugin/unknown_keys.h"

namespace ondrel {
namespace {

std::string line(std::chrono::system_clock::time_point at, const std::string& text) {
  return platform::localTimestamp(at) + " " + text + "\n";
}

// The dialect as capture/markdown_dialect.h picks it.
const char* markdownDialectOf(const SettingsSource& settings) {
  return equalsIgnoringAsciiCase(settings.markdownDialect(), u"GFM") ? "GFM" : "built-in";
}

}  // namespace

CallLog::CallLog(const SettingsFile& settings, const char* exportName, Success success) noexcept
    : settings_(settings),
      exportName_(exportName),
      success_(success),
      started_(std::chrono::steady_clock::now()),
      startedAt_(std::chrono::system_clock::now()) {
  try {
    logFile_ = settings.logFile();
  } catch (...) {
    logFile_.clear();
  }
}

void CallLog::aboutFile(WideView fileName) noexcept {
  if (logFile_.empty()) return;
  try {
    subject_ = inQuotes(fileName);
    isMarkdown_ = pageKindOf(fileName) == PageKind::kMarkdown;
  } catch (...) {
    subject_.clear();
  }
}

void CallLog::aboutMemoryImage(std::size_t bytes) noexcept {
  if (logFile_.empty()) return;
  try {
    subject_ = "(a memory image of " + std::to_string(bytes) + " bytes)";
  } catch (...) {
    subject_.clear();
  }
}

void CallLog::aboutIndex(int index) noexcept {
  if (logFile_.empty()) return;
  try {
    subject_ = "index " + std::to_string(index);
  } catch (...) {
    subject_.clear();
  }
}

std::string CallLog::callLine(int result) const {
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - started_);
  std::string text = exportName_;
  if (!subject_.empty()) text += " " + subject_;
  text += " result " + std::to_string(result) + " in " + std::to_string(took.count()) + " ms, ";
  text += report_.engine().empty() ? engineName(settings_.captureEngine()) : report_.engine();
  text += " engine";
  if (isMarkdown_) text += std::string(", ") + markdownDialectOf(settings_) + " Markdown";
  // A failure overcome on the way (a crashed browser replaced) is no reason.
  const bool failed = (result == 0) == (success_ == Success::kNonZeroAnswer);
  if (failed && !report_.failure().empty()) text += ": " + report_.failure();
  return text;
}

void CallLog::finish(int result) noexcept {
  if (logFile_.empty()) return;
  try {
    std::string lines;
    std::string warnings;
    for (const KeyWarning& warning : keyWarnings(settings_.keysInFile())) {
      warnings += (warnings.empty() ? "" : "; ") + warning.inWords();
    }
    if (!warnings.empty()) lines += line(startedAt_, "settings: " + warnings);
    for (const CaptureReport::Event& event : report_.events()) lines += line(event.at, event.text);
    lines += line(std::chrono::system_clock::now(), callLine(result));
    platform::appendToLog(logFile_, lines, setting::kLogRotationBytes);
  } catch (...) {
    // The log is the user's help, never the call's business.
  }
}

}  // namespace ondrel
