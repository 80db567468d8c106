#ifndef ONDREL_CAPTURE_ENGINE_FALLBACK_H_
#define ONDREL_CAPTURE_ENGINE_FALLBACK_H_

#include <mutex>

#include "capture/capture_request.h"
#include "text/wide_text.h"

namespace ondrel {

// The browser that refused the DevTools pipe: it ended, or closed its pipe,
// before its first answer, as one too old for the pipe or forbidden remote
// debugging by a policy does. Its pictures then go to the one-shot engine
// until `Chrome` names another browser. Module state, like the kept browser,
// shared by the viewer's threads.
class EngineFallback {
 public:
  static EngineFallback& ofThisModule();

  // The engine that takes a picture of `request`.
  CaptureEngine engineFor(const CaptureRequest& request);

  // `request`'s browser refused the pipe; its report hears it, and why, once.
  void browserRefusedPipe(const CaptureRequest& request);

 private:
  std::mutex mutex_;
  WideString refusingBrowser_;  // empty: none
};

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_ENGINE_FALLBACK_H_
