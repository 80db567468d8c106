// Fuzzes the portable settings-file reader with arbitrary file contents,
// asking what the plug-in asks: its text and number keys in its section, at
// its buffer sizes, and the smallest buffers.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/posix/profile_text.h"

namespace {

constexpr char16_t kSection[] = u"SystemSetting";
constexpr const char16_t* kTextKeys[] = {u"Chrome", u"SVG", u"scrollBar"};
constexpr const char16_t* kNumberKeys[] = {u"width", u"height", u"waitTime"};
constexpr std::size_t kCapacities[] = {0, 1, 32, 260};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ondrel::platform;
  const ondrel::WideString text =
      decodeProfileText(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const char16_t* key : kTextKeys) {
    for (std::size_t capacity : kCapacities) {
      profileStringInText(text, kSection, key, u"fallback", capacity);
    }
  }
  for (const char16_t* key : kNumberKeys) profileIntInText(text, kSection, key, -1);
  return 0;
}
