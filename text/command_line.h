#ifndef ONDREL_TEXT_COMMAND_LINE_H_
#define ONDREL_TEXT_COMMAND_LINE_H_

#include <vector>

#include "text/wide_text.h"

namespace ondrel {

// Splits a command line into arguments by the rules a Windows program's
// start-up code applies, so that a program started from the same line sees the
// same arguments everywhere. The first argument, the program, ends at the next
// double quote when it starts with one and at white space otherwise; in the
// others, 2n backslashes before a double quote give n backslashes and a
// quoting toggle, 2n+1 give n backslashes and a literal double quote, and a
// doubled double quote inside quotes gives one literal double quote.
std::vector<WideString> splitCommandLine(WideView commandLine);

}  // namespace ondrel

#endif  // ONDREL_TEXT_COMMAND_LINE_H_
