#ifndef ONDREL_PLATFORM_POSIX_DESCRIPTOR_H_
#define ONDREL_PLATFORM_POSIX_DESCRIPTOR_H_

#include <unistd.h>

#include <string_view>
#include <utility>

namespace ondrel::platform {

// Owns a file descriptor and closes it when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) {
      reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// Writes all of `bytes`, going on after short writes and interruptions;
// false when a write fails.
bool writeAll(int fd, std::string_view bytes);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_POSIX_DESCRIPTOR_H_
