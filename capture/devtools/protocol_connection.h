#ifndef ONDREL_CAPTURE_DEVTOOLS_PROTOCOL_CONNECTION_H_
#define ONDREL_CAPTURE_DEVTOOLS_PROTOCOL_CONNECTION_H_

#include <nlohmann/json.hpp>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

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
    kPageGone,     // the page's renderer crashed, or the page was closed
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
// A deadline that passes ends only the wait it bounded: an answer that comes
// later is known by its number and passed over, never taken for another
// call's, and a message half read waits for the next call. Nothing is sent
// once the caller's deadline has passed. The first real failure breaks the
// connection for good: the channel closed or failed, a command only partly
// sent, a message that is not a JSON object, or one too long. After that
// every call fails at once.
//
// Pages whose end is watched (watchPage) fail at once too once the browser
// reports them gone (page_end.h): a crashed renderer answers nothing, and
// nobody should wait for it.
//
// Many threads may use one connection at once, each for pages of its own.
// One waiting thread at a time reads from the channel and hands each answer
// and event to the state the waits look at; the others sleep until it has
// handed over a message or stopped reading, and whoever still waits then
// reads on. A wait ends at its own deadline whoever reads. A failure is the
// calling thread's own (failure(), forgetFailure()): a page that times out
// in one thread tells nothing about the pages of the others. Event handlers
// run on the reading thread, outside the connection's lock.
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

  // Handles the result of a request whose caller stopped waiting for it.
  using LateAnswer = std::function<void(const nlohmann::json& result, const platform::Deadline&)>;

  // Waits for the answer of a request; as call() gives it. When the wait
  // ends without it (the deadline passed, or the request's page went),
  // `late`, if given, is handed the result should it come after all.
  std::optional<nlohmann::json> answer(std::int64_t id, const platform::Deadline& deadline,
                                       LateAnswer late = nullptr);

  // Waits for the event `method` of the session; true once it has come,
  // also when it came while an earlier call waited. The event is used up.
  // False when the session's watched page goes first.
  bool waitForEvent(std::string_view method, std::string_view sessionId,
                    const platform::Deadline& deadline);

  // Reads messages until `done` holds, true then; false when the connection
  // broke first. Events and answers read meanwhile are kept or handled.
  // `done` is asked under the connection's lock.
  bool waitUntil(const std::function<bool()>& done, const platform::Deadline& deadline);

  // Hands every later event `method` to `handler` as it arrives, instead of
  // keeping it; the handler may post commands, under the waiting call's
  // deadline. An empty handler ends the handing.
  using EventHandler = std::function<void(const nlohmann::json&, const platform::Deadline&)>;
  void onEvent(std::string method, EventHandler handler);

  // Forgets kept events of `method` of the session, so that only a later one
  // counts.
  void forgetEvents(std::string_view method, std::string_view sessionId);

  // From now on notices when the page `targetId`, reached through
  // `sessionId`, goes: its commands then fail unsent, and every wait for its
  // answers and events ends at once. Until forgetPage (see WatchedSession).
  void watchPage(const std::string& sessionId, const std::string& targetId);
  void forgetPage(std::string_view sessionId) noexcept;
  // Whether the watched page of the session has gone.
  bool pageGone(std::string_view sessionId) const;

  bool broken() const { return broken_; }

  // The calling thread's first failure since its forgetFailure(), of any
  // call: an error answer leaves the connection whole, a broken one stays
  // broken.
  std::optional<ConnectionFailure> failure() const;
  void forgetFailure();
  // Kept unless an earlier failure of the thread is: later ones follow from
  // it.
  void noteFailure(ConnectionFailure failure);

 private:
  // A request not yet taken by answer(), with its answer once it came.
  struct Requested {
    std::string method;
    std::string sessionId;
    std::optional<nlohmann::json> answer;
  };
  struct WatchedPage {
    std::string targetId;
    bool gone = false;
  };

  using Lock = std::unique_lock<std::recursive_mutex>;
  // What reading the channel gave: a message, or why none.
  struct Read {
    std::optional<nlohmann::json> message;
    std::optional<ConnectionFailure::Kind> breaks;  // the connection is broken by it
  };

  // The members below with `Locked` in their names expect the lock held.
  void breakWithLocked(ConnectionFailure::Kind cause);
  // Notes why `method` of the session went without its answer or event.
  void noteUnansweredLocked(std::string_view method, std::string_view sessionId);
  void noteFailureLocked(ConnectionFailure failure);
  bool pageGoneLocked(std::string_view sessionId) const;
  // Sends the command; with `keepAnswer` its answer is kept for answer().
  std::optional<std::int64_t> send(std::string_view method, nlohmann::json params,
                                   std::string_view sessionId, const platform::Deadline& deadline,
                                   bool keepAnswer);
  // As waitUntil, with the lock held and `done` asked under it.
  bool waitLocked(Lock& lock, const std::function<bool()>& done,
                  const platform::Deadline& deadline);
  // Waits until the reading thread has handed something over or stopped;
  // false when the deadline passed first.
  bool waitForReader(Lock& lock, const platform::Deadline& deadline);
  // Reads one message as the reading thread and hands it over; false when
  // none came before the deadline or the connection broke.
  bool readAndHandOver(Lock& lock, const platform::Deadline& deadline);
  // Reads the next message, without the lock: only the reading thread does.
  Read nextMessage(const platform::Deadline& deadline);
  void receiveAnswer(Lock& lock, std::int64_t id, nlohmann::json answer,
                     const platform::Deadline& deadline);
  bool takeKeptEventLocked(std::string_view method, std::string_view sessionId);
  void receiveEvent(Lock& lock, nlohmann::json event, const platform::Deadline& deadline);
  void notePageEndLocked(const nlohmann::json& event);
  static std::optional<nlohmann::json> resultOf(const nlohmann::json& answer);

  MessageChannel& channel_;
  // Touched only by the reading thread.
  MessageFramer framer_;
  // One frame at a time goes into the channel.
  std::mutex sendMutex_;
  // Guards everything below. Recursive, as a wait's condition may ask the
  // connection about pages.
  mutable std::recursive_mutex mutex_;
  std::condition_variable_any handedOver_;
  bool reading_ = false;
  std::int64_t lastId_ = 0;
  std::deque<nlohmann::json> events_;
  std::map<std::int64_t, Requested> requested_;
  // Requests given up on whose results still have a use.
  std::map<std::int64_t, LateAnswer> lateAnswers_;
  std::map<std::string, EventHandler, std::less<>> handlers_;
  // By session.
  std::map<std::string, WatchedPage, std::less<>> watchedPages_;
  std::atomic<bool> broken_ = false;
  ConnectionFailure::Kind breakCause_ = ConnectionFailure::Kind::kClosed;
  std::map<std::thread::id, ConnectionFailure> failures_;
};

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_PROTOCOL_CONNECTION_H_
