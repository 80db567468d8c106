#ifndef ONDREL_TOOLS_ONDREL_RENDER_SETUP_CHECK_H_
#define ONDREL_TOOLS_ONDREL_RENDER_SETUP_CHECK_H_

#include <ostream>

#include "text/wide_text.h"
#include "tools/ondrel_render/arguments.h"

namespace ondrel_render {

// ondrel-render --check: tells in plain words whether the plug-in will work
// with its settings (the --ini file, else the one beside the module, as the
// plug-in reads it): each key's value and meaning, keys it does not know,
// whether the browser exists and its version, and how a built-in HTML page
// and Markdown document come out with the configured engine: their time, the
// engine that took them and whether their colours are right. The plug-in's
// own code is linked in and does the reading and the capturing.
//
// Gives kExitRendered when everything works, else kExitFailed after a last
// line that says what to change.
int checkSetup(const RenderOptions& options, const ondrel::WideString& defaultModule,
               std::ostream& out);

}  // namespace ondrel_render

#endif  // ONDREL_TOOLS_ONDREL_RENDER_SETUP_CHECK_H_
