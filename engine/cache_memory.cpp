// The system calls behind CacheMemory: mmap with MADV_HUGEPAGE on Linux,
// VirtualAlloc on Windows, calloc elsewhere.

#include "cache_memory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace marrowfield {

#if !defined(_WIN32)
namespace {

void* AlignUp(void* p, size_t alignment) {
  const auto address = reinterpret_cast<uintptr_t>(p);
  return reinterpret_cast<void*>((address + alignment - 1) & ~(alignment - 1));
}

}  // namespace
#endif

#if defined(__linux__)

constexpr size_t kHugePageBytes = size_t{2} << 20;

CacheMemory::CacheMemory(size_t bytes) : bytes_(bytes) {
  // One huge page more than needed, so that the start can be aligned to
  // one; anonymous pages are zero until written.
  reserved_ = bytes + kHugePageBytes;
  void* base = mmap(nullptr, reserved_, PROT_READ | PROT_WRITE,
                    MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) return;
  base_ = base;
  data_ = AlignUp(base, kHugePageBytes);
  // Advice only: without huge pages the memory works the same, slower.
  madvise(data_, bytes_, MADV_HUGEPAGE);
}

CacheMemory::~CacheMemory() {
  if (base_ != nullptr) munmap(base_, reserved_);
}

void CacheMemory::Discard() {
  if (data_ != nullptr) madvise(data_, bytes_, MADV_DONTNEED);
}

void CacheMemory::Use(size_t bytes) {
  Discard();
  if (data_ == nullptr) return;
  // A huge page is taken whole on its first touch: one for a table of a
  // few hundred KiB would cost the process its full 2 MiB.
  const size_t huge = bytes / kHugePageBytes * kHugePageBytes;
  madvise(data_, bytes_, MADV_NOHUGEPAGE);
  if (huge > 0) madvise(data_, huge, MADV_HUGEPAGE);
}

#elif defined(_WIN32)

CacheMemory::CacheMemory(size_t bytes) : reserved_(bytes), bytes_(bytes) {
  // Committed pages cost nothing until first touched, and read as zero.
  base_ =
      VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  data_ = base_;
}

CacheMemory::~CacheMemory() {
  if (base_ != nullptr) VirtualFree(base_, 0, MEM_RELEASE);
}

void CacheMemory::Discard() {
  if (data_ == nullptr) return;
  // Decommitting frees the pages; committing again keeps the range usable,
  // zero-filled on next touch.
  VirtualFree(data_, bytes_, MEM_DECOMMIT);
  if (VirtualAlloc(data_, bytes_, MEM_COMMIT, PAGE_READWRITE) == nullptr) {
    data_ = nullptr;
  }
}

// Ordinary pages only: nothing to choose.
void CacheMemory::Use(size_t) { Discard(); }

#else

CacheMemory::CacheMemory(size_t bytes) : bytes_(bytes) {
  reserved_ = bytes + 64;
  base_ = std::calloc(reserved_, 1);
  if (base_ != nullptr) data_ = AlignUp(base_, 64);
}

CacheMemory::~CacheMemory() { std::free(base_); }

void CacheMemory::Discard() {
  if (data_ != nullptr) std::memset(data_, 0, bytes_);
}

void CacheMemory::Use(size_t) { Discard(); }

#endif

}  // namespace marrowfield
