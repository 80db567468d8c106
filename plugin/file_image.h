#ifndef ONDREL_PLUGIN_FILE_IMAGE_H_
#define ONDREL_PLUGIN_FILE_IMAGE_H_

#include <cstdint>
#include <memory>
#include <span>

#include "plugin/result_code.h"
#include "text/wide_text.h"

namespace ondrel {

// The bytes of a picture file from an offset to its end.
class FileImage {
 public:
  std::span<const std::uint8_t> bytes() const { return {bytes_.get(), size_}; }

  // For a picture: fewer than 64 bytes after the offset are kNotAccepted; a
  // file that cannot be opened, positioned or fully read is
  // kReadOrCaptureFailed; no memory is kOutOfMemory.
  ResultCode readForPicture(const WideString& path, std::int32_t offset);

  // For picture information: a file that cannot be opened, positioned or read
  // is kReadOrCaptureFailed; an offset past the end or a short read is
  // kNotAccepted; no memory is kOutOfMemory.
  ResultCode readForInformation(const WideString& path, std::int32_t offset);

 private:
  bool allocate(std::int64_t size);

  std::unique_ptr<std::uint8_t[]> bytes_;
  std::size_t size_ = 0;
};

// The smallest image, from the offset on, that a picture call takes.
inline constexpr std::int64_t kMinimumImageSize = 64;

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_FILE_IMAGE_H_
