// A block the plug-in handed over, as a host reads it.

#include <gtest/gtest.h>

#include <cstring>

#include "platform/movable_block.h"
#include "tools/plugin_host/handed_over_block.h"

namespace ondrel_host {
namespace {

namespace platform = ondrel::platform;

// A block holding the bytes 1, 2, 3, ... as the plug-in would hand it over.
platform::BlockHandle countingBlock(std::size_t size) {
  std::optional<platform::MovableBlock> block = platform::MovableBlock::allocate(size);
  if (!block) return nullptr;
  {
    const platform::BlockLock lock(block->handle());
    auto* bytes = static_cast<std::uint8_t*>(lock.data());
    for (std::size_t i = 0; i < size; ++i) bytes[i] = std::uint8_t(i + 1);
  }
  return block->release();
}

TEST(HandedOverBlock, ReadsNoMoreThanTheBlockHolds) {
  const HandedOverBlock block(countingBlock(8));
  ASSERT_GE(block.size(), 8u);
  EXPECT_EQ(block.read(3), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(block.read(8)->size(), 8u);
  EXPECT_EQ(block.read(block.size() + 1), std::nullopt);
}

TEST(HandedOverBlock, NoBlockHasNothingToRead) {
  const HandedOverBlock none(nullptr);
  EXPECT_EQ(none.size(), 0u);
  EXPECT_EQ(none.read(0), std::nullopt);
  EXPECT_EQ(none.read(40), std::nullopt);
}

}  // namespace
}  // namespace ondrel_host
