#ifndef ONDREL_TOOLS_ONDREL_RENDER_RENDER_COMMAND_H_
#define ONDREL_TOOLS_ONDREL_RENDER_RENDER_COMMAND_H_

#include <ostream>

#include "text/wide_text.h"
#include "tools/ondrel_render/arguments.h"

namespace ondrel_render {

inline constexpr int kExitRendered = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Renders the inputs as a picture viewer would: loads the plug-in (the one
// the options name, else `defaultModule`) once, and for each input asks
// whether it takes the file, asks for the picture's information and then the
// picture, and writes it. Says where each picture went on `out`, or why there
// is none in one line on `err`, and goes on with the next input; with more
// than a few inputs, each one's time goes to `err` as well. Gives the exit
// status: kExitFailed when any input failed. With --jobs N, N threads take
// the inputs one by one, as a viewer's threads do when it makes thumbnails.
int renderFiles(const RenderOptions& options, const ondrel::WideString& defaultModule,
                std::ostream& out, std::ostream& err);

}  // namespace ondrel_render

#endif  // ONDREL_TOOLS_ONDREL_RENDER_RENDER_COMMAND_H_
