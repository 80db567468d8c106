#include "tools/plugin_host/handed_over_block.h"

namespace ondrel_host {

namespace platform = ondrel::platform;

HandedOverBlock::~HandedOverBlock() {
  if (handle_ != nullptr) platform::freeBlock(handle_);
}

std::size_t HandedOverBlock::size() const {
  return handle_ == nullptr ? 0 : platform::blockSize(handle_);
}

std::optional<std::vector<std::uint8_t>> HandedOverBlock::read(std::size_t count) const {
  if (handle_ == nullptr || size() < count) return std::nullopt;
  const platform::BlockLock lock(handle_);
  if (lock.data() == nullptr) return std::nullopt;
  const auto* bytes = static_cast<const std::uint8_t*>(lock.data());
  return std::vector<std::uint8_t>(bytes, bytes + count);
}

}  // namespace ondrel_host
