// Bytes copied from one handle to another in a thread of their own, unchanged,
// until the source ends or the destination takes no more.
#ifndef ONDREL_TESTS_WINE_CHROMIUM_BYTE_RELAY_H_
#define ONDREL_TESTS_WINE_CHROMIUM_BYTE_RELAY_H_

#include <memory>

#include "platform/windows/kernel_handle.h"

namespace ondrel::wine_chromium {

class ByteRelay {
 public:
  // Borrows both handles; they must outlive the thread, which may stay in a
  // read that nothing ends until the process does.
  ByteRelay(HANDLE from, HANDLE to);
  ByteRelay(const ByteRelay&) = delete;
  ByteRelay& operator=(const ByteRelay&) = delete;

  bool started() const { return thread_.valid(); }
  // Signalled once the copying has stopped.
  HANDLE stopped() const { return thread_.get(); }

 private:
  struct Ends {
    HANDLE from;
    HANDLE to;
  };
  static DWORD WINAPI copy(void* ends);

  std::unique_ptr<Ends> ends_;
  platform::KernelHandle thread_;
};

}  // namespace ondrel::wine_chromium

#endif  // ONDREL_TESTS_WINE_CHROMIUM_BYTE_RELAY_H_
