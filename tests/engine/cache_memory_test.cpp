// The cache's table memory: aligned, zero at first, writable everywhere,
// and zero again but still usable after its pages are handed back.

#include "cache_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace marrowfield {
namespace {

TEST(CacheMemoryTest, ZeroedAlignedAndReusableAfterDiscard) {
  constexpr size_t kBytes = (size_t{3} << 20) + 4096;  // not a page multiple
  CacheMemory memory(kBytes);
  ASSERT_NE(memory.data(), nullptr);
  EXPECT_EQ(memory.size(), kBytes);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(memory.data()) % 64, 0u);
  auto* bytes = static_cast<unsigned char*>(memory.data());

  // Zero at first, at both ends and in between.
  for (size_t at : {size_t{0}, kBytes / 2, kBytes - 1}) {
    EXPECT_EQ(bytes[at], 0) << at;
  }
  for (int round = 0; round < 2; ++round) {
    std::memset(bytes, 0xA5, kBytes);
    EXPECT_EQ(bytes[kBytes - 1], 0xA5);
    memory.Discard();
    ASSERT_NE(memory.data(), nullptr);
    for (size_t at : {size_t{0}, size_t{4095}, kBytes / 2, kBytes - 1}) {
      EXPECT_EQ(bytes[at], 0) << "round " << round << " at " << at;
    }
  }
}

TEST(CacheMemoryTest, UsingLessGivesPagesBackAndStaysUsable) {
  constexpr size_t kBytes = size_t{5} << 20;
  CacheMemory memory(kBytes);
  ASSERT_NE(memory.data(), nullptr);
  auto* bytes = static_cast<unsigned char*>(memory.data());
  std::memset(bytes, 0x5A, kBytes);
  // Less than a huge page, more than one, then the whole again.
  for (size_t used : {size_t{300} << 10, (size_t{2} << 20) + 4096, kBytes}) {
    memory.Use(used);
    ASSERT_NE(memory.data(), nullptr);
    EXPECT_EQ(bytes[0], 0) << used;
    EXPECT_EQ(bytes[kBytes - 1], 0) << used;
    std::memset(bytes, 0x5A, used);
    EXPECT_EQ(bytes[used - 1], 0x5A);
  }
}

}  // namespace
}  // namespace marrowfield
