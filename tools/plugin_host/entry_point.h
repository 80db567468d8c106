#ifndef ONDREL_TOOLS_PLUGIN_HOST_ENTRY_POINT_H_
#define ONDREL_TOOLS_PLUGIN_HOST_ENTRY_POINT_H_

#include "platform/host_support.h"

namespace ondrel_host {

// The function that the loaded module exports as `name`, typed as one of the
// plug-in's entry points (plugin/exports.h); null when it exports none.
template <typename Function>
Function entryPoint(const ondrel::platform::DynamicLibrary& library, const char* name) {
  return reinterpret_cast<Function>(library.symbol(name));
}

}  // namespace ondrel_host

#endif  // ONDREL_TOOLS_PLUGIN_HOST_ENTRY_POINT_H_
