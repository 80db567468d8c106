#include "capture/devtools/dialog_answers.h"

#include "capture/devtools/json_fields.h"

namespace ondrel::devtools {
namespace {

using nlohmann::json;

void acceptDialog(ProtocolConnection& connection, const json& event,
                  const platform::Deadline& deadline) {
  const auto params = event.find("params");
  json answer = {{"accept", true}};
  if (params != event.end() && stringField(*params, "type") == "prompt") answer["promptText"] = "";
  // Posted: the page answers only once the dialog is closed.
  connection.post("Page.handleJavaScriptDialog", std::move(answer), stringField(event, "sessionId"),
                  deadline);
}

}  // namespace

DialogAnswers::DialogAnswers(ProtocolConnection& connection) : connection_(connection) {
  connection_.onEvent(kDialogOpening,
                      [this](const json& event, const platform::Deadline& deadline) {
                        acceptDialog(connection_, event, deadline);
                      });
}

DialogAnswers::~DialogAnswers() { connection_.onEvent(kDialogOpening, nullptr); }

}  // namespace ondrel::devtools
