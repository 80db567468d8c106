#ifndef ONDREL_TOOLS_ONDREL_RENDER_MODULE_LOCATION_H_
#define ONDREL_TOOLS_ONDREL_RENDER_MODULE_LOCATION_H_

#include "text/wide_text.h"

namespace ondrel_render {

// The plug-in module to load when none is named: the one beside this
// program when it is there (as installed), else the one of the build that
// made this program.
ondrel::WideString defaultModulePath();

}  // namespace ondrel_render

#endif  // ONDREL_TOOLS_ONDREL_RENDER_MODULE_LOCATION_H_
