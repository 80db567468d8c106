#include "plugin/exports.h"

#include <algorithm>
#include <exception>
#include <new>
#include <optional>
#include <span>

#include "platform/files.h"
#include "plugin/call_log.h"
#include "plugin/export_calls.h"
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

// Runs `call` with the settings read for it under `guard`, which turns what
// escapes it into the number the viewer gets, and logs it as `exportName`.
// Only reading the module's name can fail before: for want of memory.
template <typename Guard, typename Call>
int loggedCall(const char* exportName, CallLog::Success success, int whenNoMemory, Guard guard,
               Call call) noexcept {
  try {
    const ModuleSettings settings;
    CallLog log(settings, exportName, success);
    const int result = guard([&] { return call(settings, log); });
    log.finish(result);
    return result;
  } catch (...) {
    return whenNoMemory;
  }
}

constexpr auto kResultGuard = [](auto call) { return guardedResult(call); };
constexpr auto kNumberGuard = [](auto call) { return guardedNumber(call); };
constexpr int kNoMemoryResult = resultNumber(ResultCode::kOutOfMemory);

// What the plug-in's own steps say when they give up.
void reportRead(CaptureReport* report, ResultCode read) {
  switch (read) {
    case ResultCode::kNotAccepted:
      return reportFailure(report, "the file is too short from its offset");
    case ResultCode::kOutOfMemory:
      return reportFailure(report, "no memory for the file's bytes");
    default:
      return reportFailure(report, "the file could not be read");
  }
}

bool accepted(const SettingsSource& settings, std::optional<WideView> fileName, CallLog& log) {
  const std::optional<std::string> refusal = refusalOf(settings, fileName);
  if (refusal) reportFailure(log.report(), *refusal);
  return !refusal;
}

std::optional<WideString> loggedFileName(const char16_t* source, CallLog& log) {
  std::optional<WideString> fileName = fileNameOf(source);
  if (fileName) {
    log.aboutFile(*fileName);
  } else {
    reportFailure(log.report(), "no file name, or one too long");
  }
  return fileName;
}

ResultCode getPicture(const SettingsFile& settings, CallLog& log, const char16_t* source,
                      std::intptr_t length, unsigned flags, platform::BlockHandle* headerHandle,
                      platform::BlockHandle* pixelHandle) {
  if (headerHandle == nullptr || pixelHandle == nullptr) {
    reportFailure(log.report(), "the viewer gave no place for the picture's handles");
    return ResultCode::kNotAccepted;
  }
  if (!isFileMode(flags)) {
    const auto image = memoryImage(source, lowWord(length));
    log.aboutMemoryImage(image.size());
    if (!accepted(settings, std::nullopt, log)) return ResultCode::kNotAccepted;
    return renderPicture(settings, std::nullopt, image, headerHandle, pixelHandle, log.report());
  }
  const std::optional<WideString> fileName = loggedFileName(source, log);
  if (!fileName) return ResultCode::kReadOrCaptureFailed;
  FileImage image;
  const ResultCode read = image.readForPicture(*fileName, lowWord(length));
  if (read != ResultCode::kSuccess) {
    reportRead(log.report(), read);
    return read;
  }
  if (!accepted(settings, *fileName, log)) return ResultCode::kNotAccepted;
  return renderPicture(settings, *fileName, image.bytes(), headerHandle, pixelHandle, log.report());
}

ResultCode getPictureInfo(const SettingsFile& settings, CallLog& log, const char16_t* source,
                          std::intptr_t length, unsigned flags, PictureInfoRecord* info) {
  if (info == nullptr) {
    reportFailure(log.report(), "the viewer gave no record for the information");
    return ResultCode::kNotAccepted;
  }
  if (!isFileMode(flags)) {
    const std::int32_t size = lowWord(length);
    log.aboutMemoryImage(std::size_t(std::max(size, 0)));
    if (source == nullptr || size < kMinimumImageSize) {
      reportFailure(log.report(), "the memory image is too short");
      return ResultCode::kNotAccepted;
    }
    if (!accepted(settings, std::nullopt, log)) return ResultCode::kNotAccepted;
    return describePicture(settings, std::nullopt, memoryImage(source, size), *info, log.report());
  }
  const std::optional<WideString> fileName = loggedFileName(source, log);
  if (!fileName) return ResultCode::kReadOrCaptureFailed;
  FileImage image;
  const ResultCode read = image.readForInformation(*fileName, lowWord(length));
  if (read != ResultCode::kSuccess) {
    reportRead(log.report(), read);
    return read;
  }
  if (!accepted(settings, *fileName, log)) return ResultCode::kNotAccepted;
  return describePicture(settings, *fileName, image.bytes(), *info, log.report());
}

int isSupported(const SettingsFile& settings, CallLog& log, const char16_t* fileName,
                std::uintptr_t headOrHandle) {
  if (fileName == nullptr) return 0;
  log.aboutFile(fileName);
  if (isFileHandle(headOrHandle)) {
    std::uint8_t head[kHeadBytes];
    if (!platform::readFromFileHandle(headOrHandle, head, sizeof head)) {
      reportFailure(log.report(), "the file's head could not be read from its handle");
      return 0;
    }
  }
  return accepted(settings, WideView(fileName), log) ? 1 : 0;
}

}  // namespace

int pluginInfoCall(const char* exportName, int index, char16_t* buffer, int bufferLength) noexcept {
  return loggedCall(exportName, CallLog::Success::kNonZeroAnswer, 0, kNumberGuard,
                    [&](const SettingsFile& settings, CallLog& log) {
                      log.aboutIndex(index);
                      const std::optional<WideString> text = pluginInfoText(settings, index);
                      return text ? copyTerminated(*text, buffer, bufferLength) : 0;
                    });
}

int isSupportedCall(const char* exportName, const char16_t* fileName,
                    std::uintptr_t headOrHandle) noexcept {
  return loggedCall(exportName, CallLog::Success::kNonZeroAnswer, 0, kNumberGuard,
                    [&](const SettingsFile& settings, CallLog& log) {
                      return isSupported(settings, log, fileName, headOrHandle);
                    });
}

int pictureInfoCall(const char* exportName, const char16_t* source, std::intptr_t length,
                    unsigned flags, PictureInfoRecord* info) noexcept {
  return loggedCall(exportName, CallLog::Success::kZeroResult, kNoMemoryResult, kResultGuard,
                    [&](const SettingsFile& settings, CallLog& log) {
                      return getPictureInfo(settings, log, source, length, flags, info);
                    });
}

int pictureCall(const char* exportName, const char16_t* source, std::intptr_t length,
                unsigned flags, platform::BlockHandle* headerHandle,
                platform::BlockHandle* pixelHandle) noexcept {
  return loggedCall(exportName, CallLog::Success::kZeroResult, kNoMemoryResult, kResultGuard,
                    [&](const SettingsFile& settings, CallLog& log) {
                      return getPicture(settings, log, source, length, flags, headerHandle,
                                        pixelHandle);
                    });
}

int unconvertedNameCall(const char* exportName, CallLog::Success success, int result) noexcept {
  return loggedCall(
      exportName, success, result, kNumberGuard, [&](const SettingsFile&, CallLog& log) {
        reportFailure(log.report(), "the file name has no wide form in the ANSI code page");
        return result;
      });
}

}  // namespace ondrel

using namespace ondrel;

ONDREL_API int ONDREL_CALL GetPluginInfoW(int index, char16_t* buffer, int bufferLength) {
  return pluginInfoCall("GetPluginInfoW", index, buffer, bufferLength);
}

ONDREL_API int ONDREL_CALL IsSupportedW(const char16_t* fileName, std::uintptr_t headOrHandle) {
  return isSupportedCall("IsSupportedW", fileName, headOrHandle);
}

ONDREL_API int ONDREL_CALL GetPictureInfoW(const char16_t* source, std::intptr_t length,
                                           unsigned flags, PictureInfoRecord* info) {
  return pictureInfoCall("GetPictureInfoW", source, length, flags, info);
}

ONDREL_API int ONDREL_CALL GetPictureW(const char16_t* source, std::intptr_t length, unsigned flags,
                                       platform::BlockHandle* headerHandle,
                                       platform::BlockHandle* pixelHandle, SusieProgressCallback,
                                       std::intptr_t) {
  return pictureCall("GetPictureW", source, length, flags, headerHandle, pixelHandle);
}

// A preview is the full picture.
ONDREL_API int ONDREL_CALL GetPreviewW(const char16_t* source, std::intptr_t length, unsigned flags,
                                       platform::BlockHandle* headerHandle,
                                       platform::BlockHandle* pixelHandle, SusieProgressCallback,
                                       std::intptr_t) {
  return pictureCall("GetPreviewW", source, length, flags, headerHandle, pixelHandle);
}
