#include "capture/devtools/browser_session.h"

#include "platform/child_process.h"

namespace ondrel::devtools {
namespace {

// How long a browser asked to close may take before it is killed.
constexpr std::chrono::seconds kCloseGrace{5};
// A killed browser's helpers may still be writing into the profile for a
// moment; its removal is tried again this often, this far apart.
constexpr int kRemovalAttempts = 20;
constexpr unsigned kRemovalPauseMilliseconds = 50;

}  // namespace

std::unique_ptr<BrowserSession> BrowserSession::start(const BrowserLaunch& launch) {
  std::optional<platform::PrivateFolder> profile =
      platform::PrivateFolder::makeFresh("ondrel-profile-");
  if (!profile) return nullptr;
  std::optional<platform::PipedChild> browser =
      platform::PipedChild::start(launchCommandLine(launch, profile->path()), profile->path());
  if (!browser) {
    profile->removeTree();
    return nullptr;
  }
  return std::unique_ptr<BrowserSession>(
      new BrowserSession(std::move(*profile), std::move(*browser)));
}

BrowserSession::BrowserSession(platform::PrivateFolder profile, platform::PipedChild browser)
    : profile_(std::move(profile)),
      browser_(std::move(browser)),
      channel_(browser_),
      connection_(channel_) {}

BrowserSession::~BrowserSession() {
  if (closed_) return;
  browser_.kill();
  removeProfilePatiently();
}

bool BrowserSession::usable() {
  return !closed_ && !connection_.broken() &&
         !browser_.waitForEnd(platform::Deadline::after(std::chrono::milliseconds(0)));
}

bool BrowserSession::answers(const platform::Deadline& deadline) {
  // Answered by the browser process itself, whatever its pages' renderers do.
  return connection_.call("Browser.getVersion", nlohmann::json::object(), {}, deadline).has_value();
}

void BrowserSession::close(const platform::Deadline& deadline) {
  if (closed_) return;
  closed_ = true;
  const platform::Deadline grace = deadline.atMost(kCloseGrace);
  if (!connection_.post("Browser.close", nlohmann::json::object(), {}, grace) ||
      !browser_.waitForEnd(grace)) {
    browser_.kill();
  }
  removeProfilePatiently();
}

void BrowserSession::endAtUnload() {
  if (closed_) return;
  closed_ = true;
  browser_.kill();
  profile_.removeTree();
}

void BrowserSession::removeProfilePatiently() {
  for (int attempt = 1; !profile_.removeTree() && attempt < kRemovalAttempts; ++attempt) {
    platform::sleepMilliseconds(kRemovalPauseMilliseconds);
  }
}

}  // namespace ondrel::devtools
