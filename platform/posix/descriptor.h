#ifndef ONDREL_PLATFORM_POSIX_DESCRIPTOR_H_
#define ONDREL_PLATFORM_POSIX_DESCRIPTOR_H_

#include <unistd.h>

#include <string_view>

#include "platform/unique_handle.h"

namespace ondrel::platform {

struct DescriptorTraits {
  using Native = int;
  static Native invalid() { return -1; }
  static bool isValid(Native fd) { return fd >= 0; }
  static void close(Native fd) { ::close(fd); }
};

// Owns a file descriptor and closes it when it goes.
using Descriptor = UniqueHandle<DescriptorTraits>;

// Writes all of `bytes`, going on after short writes and interruptions;
// false when a write fails.
bool writeAll(int fd, std::string_view bytes);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_POSIX_DESCRIPTOR_H_
