// One protocol connection used by many threads at once, each for a page of
// its own, against a browser in memory that answers from a thread of its own
// and out of order. Each call must get its own answer and its own page's
// events; a page that never answers costs only its own call its deadline; a
// failure is told only to the thread that met it. Under ThreadSanitizer
// (preset "tsan") it also shows that the threads share nothing without order.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <latch>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "capture/devtools/protocol_connection.h"

namespace ondrel::devtools {
namespace {

using nlohmann::json;
using platform::Deadline;
using platform::PipeStatus;
using std::chrono::milliseconds;

constexpr int kThreads = 8;
constexpr int kCallsEach = 40;

// A browser on a thread of its own: it takes commands in batches and answers
// each batch in a shuffled order, so answers come in another order than they
// were asked for, and interleaved with the answers of other threads' pages.
// Page.navigate is answered after its page's load event. Commands of the
// session "hung" are never answered.
class ShufflingBrowser final : public MessageChannel {
 public:
  ShufflingBrowser() : worker_([this] { answerCommands(); }) {}
  ~ShufflingBrowser() override {
    {
      const std::lock_guard lock(mutex_);
      ending_ = true;
    }
    commandCame_.notify_all();
    worker_.join();
  }

  PipeStatus send(std::string_view bytes, const Deadline&) override {
    {
      const std::lock_guard lock(mutex_);
      commands_.push_back(json::parse(bytes.substr(0, bytes.size() - 1)));
    }
    commandCame_.notify_all();
    return PipeStatus::kDone;
  }

  PipeStatus receive(std::string& received, const Deadline& deadline) override {
    std::unique_lock lock(mutex_);
    const auto hasOutput = [&] { return !output_.empty() || pipeClosed_; };
    if (const auto at = deadline.at()) {
      if (!outputCame_.wait_until(lock, *at, hasOutput)) return PipeStatus::kTimedOut;
    } else {
      outputCame_.wait(lock, hasOutput);
    }
    if (output_.empty()) return PipeStatus::kClosed;
    // Sometimes several messages in one read, sometimes a message cut in two.
    const std::size_t take = std::min(output_.size(), std::size_t(1 + random_() % 300));
    received.append(output_, 0, take);
    output_.erase(0, take);
    return PipeStatus::kDone;
  }

  // From now on reads find the pipe closed once what was written is read.
  void closePipe() {
    {
      const std::lock_guard lock(mutex_);
      pipeClosed_ = true;
    }
    outputCame_.notify_all();
  }

  int commandsTaken() {
    const std::lock_guard lock(mutex_);
    return taken_;
  }

 private:
  void answerCommands() {
    std::unique_lock lock(mutex_);
    for (;;) {
      commandCame_.wait(lock, [&] { return ending_ || !commands_.empty(); });
      if (ending_) return;
      std::vector<json> batch(commands_.begin(), commands_.end());
      commands_.clear();
      std::shuffle(batch.begin(), batch.end(), random_);
      for (const json& command : batch) answer(command);
      outputCame_.notify_all();
      lock.unlock();
      // Lets more threads' commands gather for the next batch.
      std::this_thread::sleep_for(std::chrono::microseconds(200));
      lock.lock();
    }
  }

  void answer(const json& command) {
    ++taken_;
    const std::string session = command.value("sessionId", "");
    if (session == "hung") return;
    const std::string method = command["method"];
    if (method == "Page.navigate") {
      emit({{"method", "Page.loadEventFired"}, {"params", json::object()}, {"sessionId", session}});
    }
    emit({{"id", command["id"]},
          {"result", {{"method", method}, {"echo", command["params"]}}},
          {"sessionId", session}});
  }

  void emit(const json& message) { output_ += message.dump() + '\0'; }

  std::mutex mutex_;
  std::condition_variable commandCame_;
  std::condition_variable outputCame_;
  std::deque<json> commands_;
  std::string output_;
  std::mt19937 random_{20261211};
  int taken_ = 0;
  bool ending_ = false;
  bool pipeClosed_ = false;
  std::thread worker_;
};

std::string sessionOf(int thread) { return "session-" + std::to_string(thread); }

TEST(SharedConnectionTest, EachThreadGetsItsOwnAnswersAndEvents) {
  ShufflingBrowser browser;
  ProtocolConnection connection(browser);
  std::latch start(kThreads);
  std::vector<int> wrong(kThreads, 0);
  std::vector<int> loads(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      const std::string session = sessionOf(t);
      for (int i = 0; i < kCallsEach; ++i) {
        const json asked = {{"thread", t}, {"call", i}};
        // Every other call a navigation, whose load event must be this page's.
        const char* method = i % 2 == 0 ? "Page.navigate" : "Runtime.evaluate";
        const std::optional<json> result =
            connection.call(method, asked, session, Deadline::never());
        if (!result || (*result)["echo"] != asked || (*result)["method"] != method) ++wrong[t];
        if (i % 2 == 0 && connection.waitForEvent("Page.loadEventFired", session,
                                                  Deadline::after(milliseconds(5000)))) {
          ++loads[t];
        }
      }
      if (connection.failure()) ++wrong[t];
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong, std::vector<int>(kThreads, 0));
  EXPECT_EQ(loads, std::vector<int>(kThreads, kCallsEach / 2));
  EXPECT_FALSE(connection.broken());
}

// A page that never answers ends its own calls only: one waiting without a
// limit holds up no other thread's calls, one with a limit ends at it, and
// neither failure is told to the other threads.
TEST(SharedConnectionTest, AnUnansweredPageCostsOnlyItsOwnCalls) {
  constexpr int kOthers = kThreads - 2;
  ShufflingBrowser browser;
  ProtocolConnection connection(browser);
  std::atomic<bool> waitingForeverIsOver = false;
  std::optional<ConnectionFailure> foreverFailure;
  std::thread waitingForever([&] {
    EXPECT_EQ(connection.call("Page.navigate", {{"url", "file:///endless.html"}}, "hung",
                              Deadline::never()),
              std::nullopt);
    foreverFailure = connection.failure();
    waitingForeverIsOver = true;
  });
  std::optional<ConnectionFailure> limitedFailure;
  std::thread waitingBriefly([&] {
    EXPECT_EQ(connection.call("Page.navigate", {{"url", "file:///endless.html"}}, "hung",
                              Deadline::after(milliseconds(300))),
              std::nullopt);
    limitedFailure = connection.failure();
  });
  std::vector<int> answered(kOthers, 0);
  // Not vector<bool>, whose elements share bytes.
  std::vector<int> failed(kOthers, 0);
  std::vector<std::thread> others;
  for (int t = 0; t < kOthers; ++t) {
    others.emplace_back([&, t] {
      for (int i = 0; i < kCallsEach; ++i) {
        if (connection.call("Runtime.evaluate", {{"call", i}}, sessionOf(t), Deadline::never())) {
          ++answered[std::size_t(t)];
        }
      }
      failed[std::size_t(t)] = connection.failure().has_value() ? 1 : 0;
    });
  }
  for (std::thread& thread : others) thread.join();
  waitingBriefly.join();
  EXPECT_EQ(answered, std::vector<int>(kOthers, kCallsEach));
  EXPECT_EQ(failed, std::vector<int>(kOthers, 0));
  ASSERT_TRUE(limitedFailure.has_value());
  EXPECT_EQ(limitedFailure->kind, ConnectionFailure::Kind::kTimedOut);
  EXPECT_EQ(limitedFailure->method, "Page.navigate");
  EXPECT_FALSE(waitingForeverIsOver);
  EXPECT_FALSE(connection.broken());

  // Only a closed pipe ends a wait without a limit.
  browser.closePipe();
  waitingForever.join();
  ASSERT_TRUE(foreverFailure.has_value());
  EXPECT_EQ(foreverFailure->kind, ConnectionFailure::Kind::kClosed);
  EXPECT_TRUE(connection.broken());
  EXPECT_EQ(browser.commandsTaken(), 2 + kOthers * kCallsEach);
}

}  // namespace
}  // namespace ondrel::devtools
