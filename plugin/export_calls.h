#ifndef ONDREL_PLUGIN_EXPORT_CALLS_H_
#define ONDREL_PLUGIN_EXPORT_CALLS_H_

#include <cstdint>

#include "platform/movable_block.h"
#include "plugin/call_log.h"
#include "plugin/picture_info.h"

namespace ondrel {

// What the exports do, for the wide and the ANSI twin alike. Each runs under
// the name of the export the viewer called, which the log gives it, with the
// settings read once for the call. None lets an exception out.

int pluginInfoCall(const char* exportName, int index, char16_t* buffer, int bufferLength) noexcept;
int isSupportedCall(const char* exportName, const char16_t* fileName,
                    std::uintptr_t headOrHandle) noexcept;
int pictureInfoCall(const char* exportName, const char16_t* source, std::intptr_t length,
                    unsigned flags, PictureInfoRecord* info) noexcept;
int pictureCall(const char* exportName, const char16_t* source, std::intptr_t length,
                unsigned flags, platform::BlockHandle* headerHandle,
                platform::BlockHandle* pixelHandle) noexcept;

// A call whose ANSI file name could not be made wide: `result` as it is, and
// its line in the log.
int unconvertedNameCall(const char* exportName, CallLog::Success success, int result) noexcept;

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_EXPORT_CALLS_H_
