// Memory for the transcription cache's table. Its slots are read and
// written at random, so with ordinary 4 KiB pages nearly every cold lookup
// also misses the processor's address translation cache, which under
// virtualisation costs about as much again as the memory access itself.
// Where the system offers them (Linux's transparent huge pages), the
// memory is asked for in 2 MiB pages instead.
//
// The address range is taken once and kept for the life of the process;
// Discard hands the pages themselves back to the system, after which they
// read as zero. So a pointer into the memory never dangles.

#ifndef MARROWFIELD_ENGINE_CACHE_MEMORY_H_
#define MARROWFIELD_ENGINE_CACHE_MEMORY_H_

#include <cstddef>

namespace marrowfield {

class CacheMemory {
 public:
  // Reserves |bytes|, zeroed, aligned to at least 64 bytes. Pages are
  // taken from the system only as they are first written.
  explicit CacheMemory(size_t bytes);
  ~CacheMemory();
  CacheMemory(const CacheMemory&) = delete;
  CacheMemory& operator=(const CacheMemory&) = delete;

  // The memory, or null if the system refused it.
  void* data() const { return data_; }
  size_t size() const { return bytes_; }

  // Gives the pages back; the memory stays usable and reads as zero.
  void Discard();

  // Gives the pages back and from now on expects only the first |bytes|
  // to be used: huge pages are asked for only where whole ones fit in
  // them, so that a small table costs no more than its own size.
  // REQUIRES: bytes <= size().
  void Use(size_t bytes);

 private:
  void* base_ = nullptr;  // what the system handed out
  void* data_ = nullptr;  // the aligned start within it
  size_t reserved_ = 0;
  size_t bytes_ = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_CACHE_MEMORY_H_
