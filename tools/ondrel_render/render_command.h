#ifndef ONDREL_TOOLS_ONDREL_RENDER_RENDER_COMMAND_H_
#define ONDREL_TOOLS_ONDREL_RENDER_RENDER_COMMAND_H_

#include <ostream>

#include "text/wide_text.h"
#include "tools/ondrel_render/arguments.h"

namespace ondrel_render {

inline constexpr int kExitRendered = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Renders the input as a picture viewer would: loads the plug-in (the one
// the options name, else `defaultModule`), asks whether it takes the file,
// asks for the picture's information and then the picture, and writes it.
// Says where the picture went on `out`, or why there is none in one line on
// `err`; gives the exit status.
int renderFile(const RenderOptions& options, const ondrel::WideString& defaultModule,
               std::ostream& out, std::ostream& err);

}  // namespace ondrel_render

#endif  // ONDREL_TOOLS_ONDREL_RENDER_RENDER_COMMAND_H_
