// The ANSI entry points: file names are converted from the thread's ANSI code
// page and the wide twin does the work. Memory images pass through untouched.

#include <optional>

#include "platform/text_codec.h"
#include "plugin/export_calls.h"
#include "plugin/exports.h"
#include "plugin/input_mode.h"
#include "plugin/plugin_info.h"
#include "plugin/result_code.h"

namespace ondrel {
namespace {

// Buffers the converted names are held in, terminator included.
constexpr std::size_t kPictureNameCapacity = 1024;
constexpr std::size_t kSupportNameCapacity = 264;

std::optional<WideString> convertName(const char* name, std::size_t capacity) {
  std::optional<WideString> wide = platform::ansiToWide(name);
  if (!wide || wide->size() >= capacity) return std::nullopt;
  return wide;
}

// Calls `wide` with the converted name in file mode and the untouched pointer
// in memory mode; a name that cannot be converted fails like an unreadable
// file, and one that finds no memory to be converted in is kOutOfMemory.
template <typename WideCall>
int forwardSource(const char* exportName, const char* source, unsigned flags,
                  WideCall wide) noexcept {
  if (!isFileMode(flags)) return wide(reinterpret_cast<const char16_t*>(source));
  std::optional<WideString> name;
  try {
    name = convertName(source, kPictureNameCapacity);
  } catch (...) {
    return resultNumber(ResultCode::kOutOfMemory);
  }
  if (!name) {
    return unconvertedNameCall(exportName, CallLog::Success::kZeroResult,
                               resultNumber(ResultCode::kReadOrCaptureFailed));
  }
  return wide(name->c_str());
}

// The longest beginning of `text` whose ANSI form fits `capacity` bytes with
// its terminator, so that no character is cut in half.
std::string fittingAnsi(WideView text, int capacity) {
  for (std::size_t length = text.size();; --length) {
    std::string ansi = platform::wideToAnsi(text.substr(0, length));
    if (ansi.size() < std::size_t(capacity) || length == 0) return ansi;
  }
}

}  // namespace
}  // namespace ondrel

using namespace ondrel;

ONDREL_API int ONDREL_CALL GetPluginInfo(int index, char* buffer, int bufferLength) {
  try {
    char16_t wide[kPictureNameCapacity];
    if (pluginInfoCall("GetPluginInfo", index, wide, int(kPictureNameCapacity)) == 0) return 0;
    if (buffer == nullptr || bufferLength <= 0) return 0;
    const std::string ansi = fittingAnsi(wide, bufferLength);
    if (ansi.size() >= std::size_t(bufferLength)) return 0;
    ansi.copy(buffer, ansi.size());
    buffer[ansi.size()] = '\0';
    return int(ansi.size());
  } catch (...) {
    return 0;
  }
}

ONDREL_API int ONDREL_CALL IsSupported(const char* fileName, std::uintptr_t headOrHandle) {
  try {
    const std::optional<WideString> name = convertName(fileName, kSupportNameCapacity);
    if (!name) return unconvertedNameCall("IsSupported", CallLog::Success::kNonZeroAnswer, 0);
    return isSupportedCall("IsSupported", name->c_str(), headOrHandle);
  } catch (...) {
    return 0;
  }
}

ONDREL_API int ONDREL_CALL GetPictureInfo(const char* source, std::intptr_t length, unsigned flags,
                                          PictureInfoRecord* info) {
  return forwardSource("GetPictureInfo", source, flags, [&](const char16_t* wide) {
    return pictureInfoCall("GetPictureInfo", wide, length, flags, info);
  });
}

ONDREL_API int ONDREL_CALL GetPicture(const char* source, std::intptr_t length, unsigned flags,
                                      platform::BlockHandle* headerHandle,
                                      platform::BlockHandle* pixelHandle, SusieProgressCallback,
                                      std::intptr_t) {
  return forwardSource("GetPicture", source, flags, [&](const char16_t* wide) {
    return pictureCall("GetPicture", wide, length, flags, headerHandle, pixelHandle);
  });
}

// A preview is the full picture.
ONDREL_API int ONDREL_CALL GetPreview(const char* source, std::intptr_t length, unsigned flags,
                                      platform::BlockHandle* headerHandle,
                                      platform::BlockHandle* pixelHandle, SusieProgressCallback,
                                      std::intptr_t) {
  return forwardSource("GetPreview", source, flags, [&](const char16_t* wide) {
    return pictureCall("GetPreview", wide, length, flags, headerHandle, pixelHandle);
  });
}
