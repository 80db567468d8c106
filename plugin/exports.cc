#include "plugin/exports.h"

#include <exception>
#include <new>
#include <optional>
#include <span>

#include "platform/files.h"
#include "plugin/file_image.h"
#include "plugin/input_acceptance.h"
#include "plugin/input_mode.h"
#include "plugin/picture_driver.h"
#include "plugin/plugin_info.h"
#include "plugin/result_code.h"

namespace ondrel {
namespace {

// Only the low 32 bits of `length` count, as a signed number.
std::int32_t lowWord(std::intptr_t length) { return static_cast<std::int32_t>(length); }

// A handle has nothing in bits 16 to 31; anything else points to the file's head.
bool isFileHandle(std::uintptr_t headOrHandle) { return (headOrHandle & 0xFFFF0000u) == 0; }

constexpr std::size_t kHeadBytes = 64;

std::optional<WideString> fileNameOf(const char16_t* source) {
  if (source == nullptr) return std::nullopt;
  WideString name(source);
  if (!fitsPathBuffer(name)) return std::nullopt;
  return name;
}

std::span<const std::uint8_t> memoryImage(const char16_t* source, std::int32_t length) {
  if (source == nullptr || length <= 0) return {};
  return {reinterpret_cast<const std::uint8_t*>(source), std::size_t(length)};
}

// No exception may reach the viewer: whatever escapes a picture call becomes
// a result code, and whatever escapes any other call becomes 0.
template <typename Call>
int guardedResult(Call call) noexcept {
  try {
    return resultNumber(call());
  } catch (const std::bad_alloc&) {
    return resultNumber(ResultCode::kOutOfMemory);
  } catch (...) {
    return resultNumber(ResultCode::kReadOrCaptureFailed);
  }
}

template <typename Call>
int guardedNumber(Call call) noexcept {
  try {
    return call();
  } catch (...) {
    return 0;
  }
}

ResultCode getPicture(const char16_t* source, std::intptr_t length, unsigned flags,
                      platform::BlockHandle* headerHandle, platform::BlockHandle* pixelHandle) {
  if (headerHandle == nullptr || pixelHandle == nullptr) return ResultCode::kNotAccepted;
  const ModuleSettings settings;
  if (!isFileMode(flags)) {
    const auto image = memoryImage(source, lowWord(length));
    if (!acceptsInput(settings, std::nullopt)) return ResultCode::kNotAccepted;
    return renderPicture(settings, std::nullopt, image, headerHandle, pixelHandle);
  }
  const std::optional<WideString> fileName = fileNameOf(source);
  if (!fileName) return ResultCode::kReadOrCaptureFailed;
  FileImage image;
  const ResultCode read = image.readForPicture(*fileName, lowWord(length));
  if (read != ResultCode::kSuccess) return read;
  if (!acceptsInput(settings, *fileName)) return ResultCode::kNotAccepted;
  return renderPicture(settings, *fileName, image.bytes(), headerHandle, pixelHandle);
}

ResultCode getPictureInfo(const char16_t* source, std::intptr_t length, unsigned flags,
                          PictureInfoRecord* info) {
  if (info == nullptr) return ResultCode::kNotAccepted;
  const ModuleSettings settings;
  if (!isFileMode(flags)) {
    const std::int32_t size = lowWord(length);
    if (source == nullptr || size < kMinimumImageSize) return ResultCode::kNotAccepted;
    if (!acceptsInput(settings, std::nullopt)) return ResultCode::kNotAccepted;
    describePicture(settings, std::nullopt, memoryImage(source, size), *info);
    return ResultCode::kSuccess;
  }
  const std::optional<WideString> fileName = fileNameOf(source);
  if (!fileName) return ResultCode::kReadOrCaptureFailed;
  FileImage image;
  const ResultCode read = image.readForInformation(*fileName, lowWord(length));
  if (read != ResultCode::kSuccess) return read;
  if (!acceptsInput(settings, *fileName)) return ResultCode::kNotAccepted;
  describePicture(settings, *fileName, image.bytes(), *info);
  return ResultCode::kSuccess;
}

int isSupported(const char16_t* fileName, std::uintptr_t headOrHandle) {
  if (fileName == nullptr) return 0;
  if (isFileHandle(headOrHandle)) {
    std::uint8_t head[kHeadBytes];
    if (!platform::readFromFileHandle(headOrHandle, head, sizeof head)) return 0;
  }
  return acceptsInput(ModuleSettings(), WideView(fileName)) ? 1 : 0;
}

}  // namespace
}  // namespace ondrel

using namespace ondrel;

ONDREL_API int ONDREL_CALL GetPluginInfoW(int index, char16_t* buffer, int bufferLength) {
  return guardedNumber([&] {
    const std::optional<WideString> text = pluginInfoText(ModuleSettings(), index);
    return text ? copyTerminated(*text, buffer, bufferLength) : 0;
  });
}

ONDREL_API int ONDREL_CALL IsSupportedW(const char16_t* fileName, std::uintptr_t headOrHandle) {
  return guardedNumber([&] { return isSupported(fileName, headOrHandle); });
}

ONDREL_API int ONDREL_CALL GetPictureInfoW(const char16_t* source, std::intptr_t length,
                                           unsigned flags, PictureInfoRecord* info) {
  return guardedResult([&] { return getPictureInfo(source, length, flags, info); });
}

ONDREL_API int ONDREL_CALL GetPictureW(const char16_t* source, std::intptr_t length, unsigned flags,
                                       platform::BlockHandle* headerHandle,
                                       platform::BlockHandle* pixelHandle, SusieProgressCallback,
                                       std::intptr_t) {
  return guardedResult(
      [&] { return getPicture(source, length, flags, headerHandle, pixelHandle); });
}

// A preview is the full picture.
ONDREL_API int ONDREL_CALL GetPreviewW(const char16_t* source, std::intptr_t length, unsigned flags,
                                       platform::BlockHandle* headerHandle,
                                       platform::BlockHandle* pixelHandle,
                                       SusieProgressCallback progress, std::intptr_t userData) {
  return GetPictureW(source, length, flags, headerHandle, pixelHandle, progress, userData);
}
