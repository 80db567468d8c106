#ifndef ONDREL_PLATFORM_POSIX_ICONV_DECODER_H_
#define ONDREL_PLATFORM_POSIX_ICONV_DECODER_H_

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/unique_handle.h"

namespace ondrel::platform {

struct IconvTraits {
  using Native = iconv_t;
  static Native invalid() { return reinterpret_cast<iconv_t>(-1); }
  static void close(Native descriptor) { iconv_close(descriptor); }
};

// An iconv conversion from one encoding to UTF-8, closed when it goes.
class IconvDecoder {
 public:
  // Nothing when iconv knows no encoding of that name.
  static std::optional<IconvDecoder> from(const std::string& encoding);

  // `bytes` as UTF-8. A byte that begins no character, or a character cut
  // off by the end, becomes U+FFFD; the decoding goes on at the next byte.
  // Throws std::bad_alloc when memory runs out.
  std::string decode(std::string_view bytes);

 private:
  explicit IconvDecoder(iconv_t descriptor) : descriptor_(descriptor) {}

  UniqueHandle<IconvTraits> descriptor_;
};

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_POSIX_ICONV_DECODER_H_
