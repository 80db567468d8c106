// One browser run's Unix half (the script `unix-side` beside this file) as the
// stand-in sees it: a fresh folder of the run, the script started on it, and
// the stand-in's ends of the FIFOs between the two.
#ifndef ONDREL_TESTS_WINE_CHROMIUM_UNIX_SIDE_H_
#define ONDREL_TESTS_WINE_CHROMIUM_UNIX_SIDE_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/windows/kernel_handle.h"
#include "text/wide_text.h"

namespace ondrel::wine_chromium {

class UnixSide {
 public:
  // Makes a folder of the run in `root`, writes `command` (the Unix program
  // and its arguments) into it, starts the Unix half (`script`, a Windows
  // name) on it, waits until it is ready and takes up the FIFOs, the
  // DevTools pair too when `pipe`. Nothing when any of it fails; `error`
  // then says what.
  static std::optional<UnixSide> start(const WideString& root, const WideString& script,
                                       const std::vector<std::string>& command, bool pipe,
                                       std::string& error);

  // The browser's descriptor 3 (it reads) and 4 (it writes); none without `pipe`.
  HANDLE toBrowser() const { return toBrowser_.get(); }
  HANDLE fromBrowser() const { return fromBrowser_.get(); }

  // The browser's exit status, once it has ended; nothing when the Unix half
  // ended without one.
  std::optional<int> exitStatus();

 private:
  UnixSide() = default;

  platform::KernelHandle report_;
  // Never written after the first byte: the Unix half ends the browser when
  // this end closes, which it does with the stand-in however it ends.
  platform::KernelHandle lifeline_;
  platform::KernelHandle toBrowser_;
  platform::KernelHandle fromBrowser_;
};

}  // namespace ondrel::wine_chromium

#endif  // ONDREL_TESTS_WINE_CHROMIUM_UNIX_SIDE_H_
