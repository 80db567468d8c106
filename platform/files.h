#ifndef ONDREL_PLATFORM_FILES_H_
#define ONDREL_PLATFORM_FILES_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/unique_handle.h"
#include "text/wide_text.h"

namespace ondrel::platform {

// What others may do with a file while it is open for reading.
enum class FileSharing { kOthersRead, kOthersReadAndWrite };

// A file opened for reading. Closed when the object goes.
class ReadableFile {
 public:
  static std::optional<ReadableFile> open(const WideString& path,
                                          FileSharing sharing = FileSharing::kOthersRead);

  ReadableFile(ReadableFile&& other) noexcept = default;
  ReadableFile& operator=(ReadableFile&& other) noexcept = default;

  std::optional<std::int64_t> size() const;
  // Moves to `offset` bytes from the start; the position reached, or nothing.
  std::optional<std::int64_t> seek(std::int64_t offset);
  // Reads up to `count` bytes; how many were read, or nothing when the read fails.
  std::optional<std::size_t> read(void* buffer, std::size_t count);

  // The handle as the platform knows it, for callers that take raw handles:
  // the POSIX screenshot decoder reads from the descriptor, and a viewer
  // hands an open file's handle to IsSupported, which the tests do likewise.
  std::uintptr_t nativeHandle() const { return std::uintptr_t(native_.get()); }

 private:
  // A file handle or descriptor; each platform says which value holds none.
  struct NativeTraits {
    using Native = std::intptr_t;
    static Native invalid();
    static void close(Native native);
  };

  explicit ReadableFile(std::intptr_t native) : native_(native) {}

  UniqueHandle<NativeTraits> native_;
};

// Reads `count` bytes from a file handle the caller opened, at its current
// position. False when the read fails; a short read is not a failure.
bool readFromFileHandle(std::uintptr_t handle, void* buffer, std::size_t count);

// The whole file as bytes, or nothing when it cannot be opened or read.
// Others may read and write the file meanwhile.
std::optional<std::string> readFileBytes(const WideString& path);

// Creates or truncates `path` and writes `bytes`; false when that fails.
bool writeFileBytes(const WideString& path, std::string_view bytes);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_FILES_H_
