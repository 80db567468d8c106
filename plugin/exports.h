#ifndef ONDREL_PLUGIN_EXPORTS_H_
#define ONDREL_PLUGIN_EXPORTS_H_

#include <cstdint>

#include "platform/api.h"
#include "platform/movable_block.h"
#include "plugin/picture_info.h"

// The plug-in's whole surface: five entry points in an ANSI and a wide form.
// In the picture calls the low three bits of `flags` choose the input: 0 means
// `source` names a file and `length` is the picture's offset in it; anything
// else means `source` points to the file's image of `length` bytes.

// Called during long work to report progress; this plug-in never calls it.
using SusieProgressCallback = int(ONDREL_CALL*)(int done, int total, std::intptr_t userData);

ONDREL_API int ONDREL_CALL GetPluginInfo(int index, char* buffer, int bufferLength);
ONDREL_API int ONDREL_CALL GetPluginInfoW(int index, char16_t* buffer, int bufferLength);

ONDREL_API int ONDREL_CALL IsSupported(const char* fileName, std::uintptr_t headOrHandle);
ONDREL_API int ONDREL_CALL IsSupportedW(const char16_t* fileName, std::uintptr_t headOrHandle);

ONDREL_API int ONDREL_CALL GetPictureInfo(const char* source, std::intptr_t length, unsigned flags,
                                          ondrel::PictureInfoRecord* info);
ONDREL_API int ONDREL_CALL GetPictureInfoW(const char16_t* source, std::intptr_t length,
                                           unsigned flags, ondrel::PictureInfoRecord* info);

// GetPreview takes what GetPicture takes; one signature serves each pair.
namespace ondrel {
using PictureCall = int ONDREL_CALL(const char* source, std::intptr_t length, unsigned flags,
                                    platform::BlockHandle* headerHandle,
                                    platform::BlockHandle* pixelHandle,
                                    SusieProgressCallback progress, std::intptr_t userData);
using PictureCallW = int ONDREL_CALL(const char16_t* source, std::intptr_t length, unsigned flags,
                                     platform::BlockHandle* headerHandle,
                                     platform::BlockHandle* pixelHandle,
                                     SusieProgressCallback progress, std::intptr_t userData);
}  // namespace ondrel

ONDREL_API ondrel::PictureCall GetPicture;
ONDREL_API ondrel::PictureCallW GetPictureW;
ONDREL_API ondrel::PictureCall GetPreview;
ONDREL_API ondrel::PictureCallW GetPreviewW;

// Function types for hosts that look the entry points up by name.
namespace ondrel {
using GetPluginInfoWFunction = decltype(&GetPluginInfoW);
using GetPluginInfoFunction = decltype(&GetPluginInfo);
using IsSupportedWFunction = decltype(&IsSupportedW);
using IsSupportedFunction = decltype(&IsSupported);
using GetPictureInfoWFunction = decltype(&GetPictureInfoW);
using GetPictureInfoFunction = decltype(&GetPictureInfo);
using GetPictureWFunction = decltype(&GetPictureW);
using GetPictureFunction = decltype(&GetPicture);
}  // namespace ondrel

#endif  // ONDREL_PLUGIN_EXPORTS_H_
