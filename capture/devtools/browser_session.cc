#include "capture/devtools/browser_session.h"

#include "capture/devtools/failure_words.h"
#include "capture/devtools/json_fields.h"
#include "platform/child_process.h"

namespace ondrel::devtools {
namespace {

// How long a browser asked to close may take before it is killed.
constexpr std::chrono::seconds kCloseGrace{5};
// A killed browser's helpers may still be writing into the profile for a
// moment; its removal is tried again this often, this far apart.
constexpr int kRemovalAttempts = 20;
constexpr unsigned kRemovalPauseMilliseconds = 50;
// A browser whose pipe closed is given this long to end, so that its exit
// code can be told.
constexpr std::chrono::milliseconds kExitCodeGrace{500};

bool closedBeforeAnswering(const ProtocolConnection& connection) {
  return connection.broken() && connection.failure() &&
         connection.failure()->kind == ConnectionFailure::Kind::kClosed;
}

}  // namespace

BrowserSession::Started BrowserSession::start(const BrowserLaunch& launch,
                                              const platform::Deadline& deadline,
                                              CaptureReport* report) {
  const std::string browserName = wideToUtf8(launch.browserPath);
  std::optional<platform::PrivateFolder> profile =
      platform::PrivateFolder::makeFresh("ondrel-profile-");
  if (!profile) {
    reportFailure(report, "the browser's profile folder could not be made");
    return {};
  }
  std::optional<platform::PipedChild> browser =
      platform::PipedChild::start(launchCommandLine(launch, profile->path()), profile->path());
  if (!browser) {
    profile->removeTree();
    reportFailure(report, "browser could not be started: ", browserName);
    return {};
  }
  std::unique_ptr<BrowserSession> session(
      new BrowserSession(std::move(*profile), std::move(*browser)));
  if (!session->askVersion(deadline)) {
    session->reportNoAnswer(report, deadline);
    return {nullptr, closedBeforeAnswering(session->connection_)};
  }
  // A version refused is no failure of the pictures to come.
  session->connection_.forgetFailure();
  reportEvent(report, "browser started: ", browserName, " (", session->version_, ")");
  return {std::move(session), false};
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

bool BrowserSession::askVersion(const platform::Deadline& deadline) {
  const std::optional<nlohmann::json> answer =
      connection_.call("Browser.getVersion", nlohmann::json::object(), {}, deadline);
  const std::string_view product = answer ? stringField(*answer, "product") : "";
  version_ = product.empty() ? "version unknown" : std::string(product);
  // An error answer is an answer: the browser speaks the protocol.
  const std::optional<ConnectionFailure> failure = connection_.failure();
  return answer || (failure && failure->kind == ConnectionFailure::Kind::kErrorAnswer);
}

void BrowserSession::reportNoAnswer(CaptureReport* report, const platform::Deadline& deadline) {
  if (report == nullptr) return;
  std::optional<std::uint32_t> code;
  if (closedBeforeAnswering(connection_) && browser_.waitForEnd(deadline.atMost(kExitCodeGrace))) {
    code = browser_.exitCode();
  }
  const ConnectionFailure failure = connection_.failure().value_or(ConnectionFailure{});
  if (failure.kind != ConnectionFailure::Kind::kClosed) {
    report->failed(failureInWords(failure, report->waitSeconds(), code));
  } else if (code) {
    report->failed("browser exited with code " + std::to_string(*code) +
                   " before answering on its DevTools pipe");
  } else {
    report->failed("browser closed its DevTools pipe before answering");
  }
}

bool BrowserSession::usable() {
  return !closed_ && !connection_.broken() &&
         !browser_.waitForEnd(platform::Deadline::after(std::chrono::milliseconds(0)));
}

bool BrowserSession::answers(const platform::Deadline& deadline) {
  // Answered by the browser process itself, whatever its pages' renderers do.
  return connection_.call("Browser.getVersion", nlohmann::json::object(), {}, deadline).has_value();
}

void BrowserSession::close(const platform::Deadline& deadline, CaptureReport* report,
                           std::string_view why) {
  if (closed_.exchange(true)) return;
  const std::string because = why.empty() ? "" : " (" + std::string(why) + ")";
  const std::optional<std::uint32_t> code = browser_.exitCode();
  const bool wasBroken = connection_.broken();
  const platform::Deadline grace = deadline.atMost(kCloseGrace);
  if (!code && connection_.post("Browser.close", nlohmann::json::object(), {}, grace) &&
      browser_.waitForEnd(grace)) {
    reportEvent(report, "browser closed", because);
  } else {
    // Also one that ended by itself: its helpers may live on.
    browser_.kill();
    if (code) {
      reportEvent(report, "browser had ended with code ", std::to_string(*code), because);
    } else {
      reportEvent(report,
                  wasBroken ? "browser killed" : "browser killed: it did not close when asked",
                  because);
    }
  }
  removeProfilePatiently();
}

void BrowserSession::endAtUnload() {
  if (closed_.exchange(true)) return;
  browser_.kill();
  profile_.removeTree();
}

void BrowserSession::removeProfilePatiently() {
  for (int attempt = 1; !profile_.removeTree() && attempt < kRemovalAttempts; ++attempt) {
    platform::sleepMilliseconds(kRemovalPauseMilliseconds);
  }
}

}  // namespace ondrel::devtools
