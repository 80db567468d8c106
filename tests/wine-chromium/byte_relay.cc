#include "tests/wine-chromium/byte_relay.h"

namespace ondrel::wine_chromium {
namespace {

// As large as the module's own pipe takes in one write: a screenshot is
// megabytes of base64.
constexpr DWORD kChunk = 1 << 20;

bool writeAll(HANDLE to, const char* bytes, DWORD size) {
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(to, bytes, size, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

}  // namespace

ByteRelay::ByteRelay(HANDLE from, HANDLE to)
    : ends_(std::make_unique<Ends>(Ends{from, to})),
      thread_(CreateThread(nullptr, 0, &ByteRelay::copy, ends_.get(), 0, nullptr)) {}

DWORD WINAPI ByteRelay::copy(void* ends) {
  const Ends& handles = *static_cast<const Ends*>(ends);
  const std::unique_ptr<char[]> chunk(new char[kChunk]);
  DWORD got = 0;
  while (ReadFile(handles.from, chunk.get(), kChunk, &got, nullptr) && got > 0) {
    if (!writeAll(handles.to, chunk.get(), got)) break;
  }
  return 0;
}

}  // namespace ondrel::wine_chromium
