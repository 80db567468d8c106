#include "platform/posix/iconv_decoder.h"

#include <algorithm>
#include <cerrno>

namespace ondrel::platform {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";
constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

// UTF-8 written into a buffer that grows as iconv asks for room.
class Utf8Output {
 public:
  explicit Utf8Output(std::size_t expected) : utf8_(expected + 16, '\0') {}
  Utf8Output(const Utf8Output&) = delete;
  Utf8Output& operator=(const Utf8Output&) = delete;

  char** next() { return &next_; }
  std::size_t* room() { return &room_; }
  void grow() {
    const std::size_t used = next_ - utf8_.data();
    utf8_.resize(utf8_.size() * 2);
    next_ = utf8_.data() + used;
    room_ = utf8_.size() - used;
  }
  void append(std::string_view text) {
    while (room_ < text.size()) grow();
    next_ = std::copy(text.begin(), text.end(), next_);
    room_ -= text.size();
  }
  std::string take() && {
    utf8_.resize(next_ - utf8_.data());
    return std::move(utf8_);
  }

 private:
  std::string utf8_;
  char* next_ = utf8_.data();
  std::size_t room_ = utf8_.size();
};

}  // namespace

std::optional<IconvDecoder> IconvDecoder::from(const std::string& encoding) {
  const iconv_t descriptor = iconv_open("UTF-8", encoding.c_str());
  if (descriptor == IconvTraits::invalid()) return std::nullopt;
  return IconvDecoder(descriptor);
}

std::string IconvDecoder::decode(std::string_view bytes) {
  // Text in a legacy code page is mostly ASCII, or two bytes to a character
  // that UTF-8 spells in three; iconv asks for more room when it needs it.
  Utf8Output output(bytes.size() + bytes.size() / 2);
  char* input = const_cast<char*>(bytes.data());  // iconv reads through it only
  std::size_t left = bytes.size();
  while (left > 0) {
    if (iconv(descriptor_.get(), &input, &left, output.next(), output.room()) != kFailed) break;
    const int error = errno;
    if (error == E2BIG) {
      output.grow();
      continue;
    }
    // EILSEQ: a byte that begins no character; EINVAL: the end cuts one off.
    output.append(kReplacementUtf8);
    if (error != EILSEQ) break;
    ++input;
    --left;
    iconv(descriptor_.get(), nullptr, nullptr, nullptr, nullptr);  // back to the initial state
  }
  return std::move(output).take();
}

}  // namespace ondrel::platform
