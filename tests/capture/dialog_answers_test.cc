// Dialogs a page opens are answered as a reader clicking OK would, in the page's own session,
// whichever call is waiting; then a page of the fake browser that opens one as it loads.

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "capture/devtools/dialog_answers.h"
#include "capture/staging/file_url.h"
#include "capture/devtools/page_supply.h"
#include "tests/capture/reactive_channel.h"
#include "tests/fake_browser/fake_devtools_channel.h"
#include "tests/support/scratch_folder.h"

namespace ondrel::devtools {
namespace {

using nlohmann::json;
using platform::Deadline;

json dialog(const char* type, const char* sessionId) {
  return {{"method", kDialogOpening},
          {"params", {{"type", type}, {"message", "?"}, {"defaultPrompt", "a default"}}},
          {"sessionId", sessionId}};
}

TEST(DialogAnswersTest, EveryKindIsAcceptedInItsPagesSession) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  const DialogAnswers answers(connection);
  for (const char* type : {"alert", "confirm", "prompt", "beforeunload"}) {
    channel.queue(dialog(type, type));
  }
  channel.queue({{"id", 1}, {"result", json::object()}});
  ASSERT_TRUE(connection.call("Page.navigate", json::object(), "page", Deadline::never()));

  std::vector<json> sent = channel.commands();
  ASSERT_EQ(sent.size(), 5u);
  const auto answerIn = [&](const char* session) {
    for (const json& command : sent) {
      if (command["sessionId"] == session) return json({{command["method"], command["params"]}});
    }
    return json();
  };
  const json accepted = {{"Page.handleJavaScriptDialog", {{"accept", true}}}};
  EXPECT_EQ(answerIn("alert"), accepted);
  EXPECT_EQ(answerIn("confirm"), accepted);
  EXPECT_EQ(answerIn("beforeunload"), accepted);
  // OK on an empty prompt: the page's default is not the reader's answer.
  EXPECT_EQ(answerIn("prompt"),
            json({{"Page.handleJavaScriptDialog", {{"accept", true}, {"promptText", ""}}}}));
}

TEST(DialogAnswersTest, DialogsAreKeptAgainOnceTheAnswersAreGone) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  { const DialogAnswers answers(connection); }
  channel.queue(dialog("alert", "page"));
  EXPECT_TRUE(connection.waitForEvent(kDialogOpening, "page", Deadline::never()));
  EXPECT_TRUE(channel.sent.empty());
}

TEST(DialogAnswersTest, APageThatAsksAtLoadLoads) {
  for (const char* type : {"alert", "confirm", "prompt", "beforeunload"}) {
    SCOPED_TRACE(type);
    test::ScratchFolder scratch;
    const std::filesystem::path file = scratch.path() / "page.html";
    std::ofstream(file, std::ios::binary) << "seed:3 dialog:" << type;
    test::FakeDevToolsChannel channel;
    ProtocolConnection connection(channel);
    PageSupply pages(connection, PageSupply::Lifetime::kOnePage);
    std::optional<PageLease> page = pages.open(Deadline::never());
    ASSERT_TRUE(page);
    EXPECT_TRUE((*page)->navigate(*fileUrl(file.u16string()), Deadline::never()));
    EXPECT_EQ(channel.commandsNamed("Page.handleJavaScriptDialog").size(), 1u);
  }
}

}  // namespace
}  // namespace ondrel::devtools
