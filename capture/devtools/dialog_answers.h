#ifndef ONDREL_CAPTURE_DEVTOOLS_DIALOG_ANSWERS_H_
#define ONDREL_CAPTURE_DEVTOOLS_DIALOG_ANSWERS_H_

#include "capture/devtools/protocol_connection.h"

namespace ondrel::devtools {

// The event of a dialog a page opened.
inline constexpr char kDialogOpening[] = "Page.javascriptDialogOpening";

// A page's alert, confirm, prompt or beforeunload dialog holds the page until it is answered:
// its load event, its screenshot. A document that greets its reader with one is no hostile page.
// While this object lives the connection answers every dialog as it opens, whichever call is
// waiting, as a reader clicking OK would: accepted, a prompt with an empty text. It borrows the
// connection, which must outlive it.
class DialogAnswers {
 public:
  explicit DialogAnswers(ProtocolConnection& connection);
  DialogAnswers(const DialogAnswers&) = delete;
  DialogAnswers& operator=(const DialogAnswers&) = delete;
  ~DialogAnswers();

 private:
  ProtocolConnection& connection_;
};

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_DIALOG_ANSWERS_H_
