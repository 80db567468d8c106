#include "plugin/file_image.h"

#include <limits>
#include <new>

#include "platform/files.h"

namespace ondrel {

bool FileImage::allocate(std::int64_t size) {
  if (std::uint64_t(size) > std::numeric_limits<std::size_t>::max()) return false;
  // At least one byte, so that an empty image still has an address.
  bytes_.reset(new (std::nothrow) std::uint8_t[std::size_t(size) + 1]);
  size_ = bytes_ ? std::size_t(size) : 0;
  return bytes_ != nullptr;
}

ResultCode FileImage::readForPicture(const WideString& path, std::int32_t offset) {
  std::optional<platform::ReadableFile> file = platform::ReadableFile::open(path);
  if (!file) return ResultCode::kReadOrCaptureFailed;
  const std::optional<std::int64_t> fileSize = file->size();
  if (!fileSize) return ResultCode::kReadOrCaptureFailed;
  const std::int64_t rest = *fileSize - offset;
  if (rest < kMinimumImageSize) return ResultCode::kNotAccepted;
  if (file->seek(offset) != offset) return ResultCode::kReadOrCaptureFailed;
  if (!allocate(rest)) return ResultCode::kOutOfMemory;
  if (file->read(bytes_.get(), size_) != size_) return ResultCode::kReadOrCaptureFailed;
  return ResultCode::kSuccess;
}

ResultCode FileImage::readForInformation(const WideString& path, std::int32_t offset) {
  std::optional<platform::ReadableFile> file = platform::ReadableFile::open(path);
  if (!file) return ResultCode::kReadOrCaptureFailed;
  if (file->seek(offset) != offset) return ResultCode::kReadOrCaptureFailed;
  const std::optional<std::int64_t> fileSize = file->size();
  if (!fileSize) return ResultCode::kReadOrCaptureFailed;
  const std::int64_t rest = *fileSize - offset;
  if (rest < 0) return ResultCode::kNotAccepted;
  if (!allocate(rest)) return ResultCode::kOutOfMemory;
  const std::optional<std::size_t> got = file->read(bytes_.get(), size_);
  if (!got) return ResultCode::kReadOrCaptureFailed;
  return *got == size_ ? ResultCode::kSuccess : ResultCode::kNotAccepted;
}

}  // namespace ondrel
