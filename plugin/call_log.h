#ifndef ONDREL_PLUGIN_CALL_LOG_H_
#define ONDREL_PLUGIN_CALL_LOG_H_

#include <chrono>
#include <cstddef>
#include <string>

#include "capture/capture_report.h"
#include "plugin/settings.h"

namespace ondrel {

// One exported call as the log tells it (the `log` key; docs/log-and-check.md):
// the settings file's unknown keys, what the capture reported, and a line
// for the call with its result, time, engine and, for a failure, the reason.
// Without the key it does nothing: no file is written, no report is kept and
// no other key is read.
class CallLog {
 public:
  // How an export's number tells success: a result code of 0, or an answer
  // (a length, a yes) other than 0.
  enum class Success { kZeroResult, kNonZeroAnswer };

  CallLog(const SettingsFile& settings, const char* exportName, Success success) noexcept;
  CallLog(const CallLog&) = delete;
  CallLog& operator=(const CallLog&) = delete;

  // Where the plug-in and the capture say what happened; none without a log.
  CaptureReport* report() { return logFile_.empty() ? nullptr : &report_; }

  // What the call was about.
  void aboutFile(WideView fileName) noexcept;
  void aboutMemoryImage(std::size_t bytes) noexcept;
  void aboutIndex(int index) noexcept;

  // Appends the call's lines. Nothing that goes wrong here reaches the call
  // or changes its result.
  void finish(int result) noexcept;

 private:
  std::string callLine(int result) const;

  const SettingsFile& settings_;
  const char* exportName_;
  Success success_;
  WideString logFile_;
  std::chrono::steady_clock::time_point started_;
  std::chrono::system_clock::time_point startedAt_;
  CaptureReport report_;
  std::string subject_;
  bool isMarkdown_ = false;
};

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_CALL_LOG_H_
