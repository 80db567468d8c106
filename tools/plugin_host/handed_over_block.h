#ifndef ONDREL_TOOLS_PLUGIN_HOST_HANDED_OVER_BLOCK_H_
#define ONDREL_TOOLS_PLUGIN_HOST_HANDED_OVER_BLOCK_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/movable_block.h"

namespace ondrel_host {

// A block that the plug-in handed over with a picture, which is now the
// host's to free: it goes when the object goes.
class HandedOverBlock {
 public:
  // A null handle stands for no block.
  explicit HandedOverBlock(ondrel::platform::BlockHandle handle) : handle_(handle) {}
  HandedOverBlock(const HandedOverBlock&) = delete;
  HandedOverBlock& operator=(const HandedOverBlock&) = delete;
  ~HandedOverBlock();

  // The block's size as the system tells it; 0 without a block.
  std::size_t size() const;

  // A copy of the block's first `count` bytes; nothing when there is no
  // block, it holds fewer bytes or it will not lock.
  std::optional<std::vector<std::uint8_t>> read(std::size_t count) const;

 private:
  ondrel::platform::BlockHandle handle_;
};

}  // namespace ondrel_host

#endif  // ONDREL_TOOLS_PLUGIN_HOST_HANDED_OVER_BLOCK_H_
