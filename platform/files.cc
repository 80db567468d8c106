#include "platform/files.h"

namespace ondrel::platform {

std::optional<std::string> readFileBytes(const WideString& path) {
  std::optional<ReadableFile> file = ReadableFile::open(path, FileSharing::kOthersReadAndWrite);
  if (!file) return std::nullopt;
  std::string bytes;
  char chunk[64 * 1024];
  for (;;) {
    const std::optional<std::size_t> got = file->read(chunk, sizeof chunk);
    if (!got) return std::nullopt;
    bytes.append(chunk, *got);
    if (*got < sizeof chunk) return bytes;
  }
}

}  // namespace ondrel::platform
