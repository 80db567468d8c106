#ifndef ONDREL_CAPTURE_DEVTOOLS_PROTOCOL_CONNECTION_H_
#define ONDREL_CAPTURE_DEVTOOLS_PROTOCOL_CONNECTION_H_

#include <nlohmann/json.hpp>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "capture/devtools/message_framer.h"
#include "platform/deadline.h"
#include "platform/piped_child.h"

namespace ondrel::devtools {

// The byte stream to a browser: the pipe in use, a stand-in in tests.
class MessageChannel {
 public:
  virtual ~MessageChannel() = default;
  virtual platform::PipeStatus send(std::string_view bytes, const platform::Deadline& deadline) = 0;
  virtual platform::PipeStatus receive(std::string& received,
                                       const platform::Deadline& deadline) = 0;
};

// The first thing that went wrong talking to a browser, kept so that the
// user can be told (failure_words.h puts it in words).
struct ConnectionFailure {
  enum class Kind {
    kErrorAnswer,  // the browser refused a command, in `message`'s words
    kTimedOut,     // the deadline passed while `method` was waited for
    kClosed,       // the browser closed its pipe or ended
    kGarbled,      // a message that is no JSON object, or far too long
  };
  Kind kind = Kind::kClosed;
  std::string method;   // the command or event waited for
  std::string message;  // the browser's own words, for an error answer
};

// The longest message taken from a browser: a screenshot of the tallest
// page, base64-encoded, with room to spare.
inline constexpr std::size_t kLargestMessage = std::size_t(512) << 20;

// The DevTools protocol over a channel: numbered commands, each answered by
// a message with its number; events, which carry no number, are kept until
// asked for. Commands for a page carry its session (flattened mode).
//
// The first failure breaks the connection for good: a deadline passed, the
// channel closed, a message that is not a JSON object, or one too long.
// After that every call fails at once.
class ProtocolConnection {
 public:
  explicit ProtocolConnection(MessageChannel& channel, std::size_t largestMessage = kLargestMessage)
      : channel_(channel), framer_(largestMessage) {}
  ProtocolConnection(const ProtocolConnection&) = delete;
  ProtocolConnection& operator=(const ProtocolConnection&) = delete;

  // Sends the command and waits for its answer; the answer's result, or
  // nothing when the browser answered with an error or the connection broke.
  // An empty `sessionId` addresses the browser itself.
  std::optional<nlohmann::json> call(std::string_view method, nlohmann::json params,
                                     std::string_view sessionId,
                                     const platform::Deadline& deadline);

  // Sends the command without waiting for its answer, which is then dropped.
  bool post(std::string_view method, nlohmann::json params, std::string_view sessionId,
            const platform::Deadline& deadline);

  // Sends the command and keeps its answer, when it comes, for answer(): the
  // browser works on it while the caller goes on. Its number, or nothing when
  // the connection broke.
  std::optional<std::int64_t> request(std::string_view method, nlohmann::json params,
                                      std::string_view sessionId,
                                      const platform::Deadline& deadline);

  // Waits for the answer of a request; as call() gives it.
  std::optional<nlohmann::json> answer(std::int64_t id, const platform::Deadline& deadline);

  // Waits for the event `method` of the session; true once it has come,
  // also when it came while an earlier call waited. The event is used up.
  bool waitForEvent(std::string_view method, std::string_view sessionId,
                    const platform::Deadline& deadline);

  // Reads messages until `done` holds, true then; false when the connection
  // broke first. Events and answers read meanwhile are kept or handled.
  bool waitUntil(const std::function<bool()>& done, const platform::Deadline& deadline);

  // Hands every later event `method` to `handler` as it arrives, instead of
  // keeping it; the handler may post commands, under the waiting call's
  // deadline. An empty handler ends the handing.
  using EventHandler = std::function<void(const nlohmann::json&, const platform::Deadline&)>;
  void onEvent(std::string method, EventHandler handler);

  // Forgets kept events of `method`, so that only a later one counts.
  void forgetEvents(std::string_view method);

  bool broken() const { return broken_; }

  // The first failure since forgetFailure(), of any call: an error answer
  // leaves the connection whole, a broken one stays broken.
  const std::optional<ConnectionFailure>& failure() const { return failure_; }
  void forgetFailure() { failure_.reset(); }
  // Kept unless an earlier failure is: later ones follow from it.
  void noteFailure(ConnectionFailure failure);

 private:
  // A request whose answer is still to be taken.
  struct Pending {
    std::string method;
    std::optional<nlohmann::json> answer;
  };

  void breakWith(ConnectionFailure::Kind cause);
  void noteBreak(std::string_view method);
  std::optional<std::int64_t> send(std::string_view method, nlohmann::json params,
                                   std::string_view sessionId, const platform::Deadline& deadline);
  // The next message, or nothing once the connection broke.
  std::optional<nlohmann::json> nextMessage(const platform::Deadline& deadline);
  bool takeKeptEvent(std::string_view method, std::string_view sessionId);
  void receiveEvent(nlohmann::json event, const platform::Deadline& deadline);
  static std::optional<nlohmann::json> resultOf(const nlohmann::json& answer);

  MessageChannel& channel_;
  MessageFramer framer_;
  std::int64_t lastId_ = 0;
  std::deque<nlohmann::json> events_;
  // Requests not yet taken by answer(), with the answer once it came.
  std::map<std::int64_t, Pending> requested_;
  std::map<std::string, EventHandler, std::less<>> handlers_;
  bool broken_ = false;
  ConnectionFailure::Kind breakCause_ = ConnectionFailure::Kind::kClosed;
  std::optional<ConnectionFailure> failure_;
};

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_PROTOCOL_CONNECTION_H_
