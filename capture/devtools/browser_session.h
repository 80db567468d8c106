#ifndef ONDREL_CAPTURE_DEVTOOLS_BROWSER_SESSION_H_
#define ONDREL_CAPTURE_DEVTOOLS_BROWSER_SESSION_H_

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "capture/capture_report.h"
#include "capture/devtools/launch_command_line.h"
#include "capture/devtools/protocol_connection.h"
#include "platform/deadline.h"
#include "platform/piped_child.h"
#include "platform/private_folder.h"

namespace ondrel::devtools {

// A browser started headless with a remote-debugging pipe and a private
// profile folder of its own. It knows nothing of pages or pictures, so one
// session can serve any number of them (see PageTarget).
//
// However it ends, by close() or by going, the browser is ended and waited
// for, and only then is its profile folder removed with all the browser put
// into it.
class BrowserSession {
 public:
  // How a start came out.
  struct Started {
    std::unique_ptr<BrowserSession> session;  // none when the start failed
    // The browser ended, or closed its pipe, before its first answer: it
    // does not take the protocol at all (too old for the pipe, or remote
    // debugging forbidden by policy).
    bool refusedPipe = false;
  };

  // Starts the browser and asks for its version, the first message, within
  // the deadline. No session when no profile folder can be made, the browser
  // cannot be started or gives no first answer; such a browser is ended and
  // its profile removed. `report` hears the start, with the version, or why
  // there was none.
  static Started start(const BrowserLaunch& launch, const platform::Deadline& deadline,
                       CaptureReport* report = nullptr);

  BrowserSession(const BrowserSession&) = delete;
  BrowserSession& operator=(const BrowserSession&) = delete;
  ~BrowserSession();

  ProtocolConnection& connection() { return connection_; }

  // The browser's product and version as it gave them, e.g.
  // "HeadlessChrome/120.0.6099.0"; "version unknown" when it did not.
  const std::string& version() const { return version_; }

  // Its exit code once it has ended by itself.
  std::optional<std::uint32_t> exitCode() { return browser_.exitCode(); }

  // Whether another page can still be shown: the browser runs and its
  // connection has not broken.
  bool usable();

  // Whether the browser answers a question of its own before the deadline:
  // one whose page hung may be stuck itself.
  bool answers(const platform::Deadline& deadline);

  // Asks the browser to close and waits for it to end, within the deadline
  // and a few seconds at most; kills it if it lingers. Then the profile goes.
  // `report` hears how it went, and `why` it was closed.
  void close(const platform::Deadline& deadline, CaptureReport* report = nullptr,
             std::string_view why = {});

  // Ends the browser as the module is unloaded, where nothing may be waited
  // for that could take long: the browser and its helpers are killed without
  // being asked, and the profile is removed in one attempt, with no pause.
  void endAtUnload();

 private:
  // The pipe as the connection's channel.
  class PipeChannel final : public MessageChannel {
   public:
    explicit PipeChannel(platform::PipedChild& child) : child_(child) {}
    platform::PipeStatus send(std::string_view bytes, const platform::Deadline& deadline) override {
      return child_.send(bytes, deadline);
    }
    platform::PipeStatus receive(std::string& received,
                                 const platform::Deadline& deadline) override {
      return child_.receive(received, deadline);
    }

   private:
    platform::PipedChild& child_;
  };

  BrowserSession(platform::PrivateFolder profile, platform::PipedChild browser);
  // The first message; false when no answer came at all.
  bool askVersion(const platform::Deadline& deadline);
  // Why a browser gave no first answer, into `report`.
  void reportNoAnswer(CaptureReport* report, const platform::Deadline& deadline);
  // A killed browser's helpers may still be writing into the profile for a
  // moment, so the removal is tried again after a pause.
  void removeProfilePatiently();

  // Declared in this order so that the browser goes before its profile.
  platform::PrivateFolder profile_;
  platform::PipedChild browser_;
  PipeChannel channel_;
  ProtocolConnection connection_;
  std::string version_;
  // Read by every picture drawn in the browser.
  std::atomic<bool> closed_ = false;
};

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_BROWSER_SESSION_H_
