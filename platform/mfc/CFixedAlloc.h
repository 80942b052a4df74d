// CFixedAlloc: pools of fixed-size memory blocks for small objects made and
// freed in great numbers (the texts of CString, the nodes of name indexes).
//
// A request of up to kMaxPooledBytes is served from the pool of its size,
// rounded up to a multiple of kGranule: taking and giving back a block is a
// pop or push on a free list, with no per-block header. Larger requests go
// to operator new. Free lists belong to the calling thread, so no lock is
// taken; a block may be freed on another thread than the one that took it
// (it then joins that thread's list). The pools keep their memory for the
// life of the process and reuse it: a freed block is never handed back to
// the system.
#pragma once

#include <cstddef>
#include <new>

class CFixedAlloc {
 public:
  static const size_t kGranule = 8;
  static const size_t kMaxPooledBytes = 256;

  // The block size a request of nBytes is served with: what the caller may
  // use of the block.
  static size_t RoundUp(size_t nBytes) {
    return nBytes > kMaxPooledBytes ? nBytes : nBytes == 0 ? kGranule : (nBytes + kGranule - 1) / kGranule * kGranule;
  }
  // A block of at least nBytes, aligned to 8 bytes; throws std::bad_alloc.
  static void* Alloc(size_t nBytes);
  // Gives back a block of Alloc; nBytes is the size it was asked for (or
  // RoundUp of it).
  static void Free(void* p, size_t nBytes) noexcept;
};

// A standard allocator over the pools, for node-based containers.
template <class T>
class CFixedAllocator {
 public:
  typedef T value_type;
  CFixedAllocator() noexcept = default;
  template <class U>
  CFixedAllocator(const CFixedAllocator<U>&) noexcept {}  // NOLINT: converting, as allocators are

  T* allocate(size_t n) {
    if (n == 1 && alignof(T) <= 8) return static_cast<T*>(CFixedAlloc::Alloc(sizeof(T)));
    return static_cast<T*>(::operator new(n * sizeof(T)));
  }
  void deallocate(T* p, size_t n) noexcept {
    if (n == 1 && alignof(T) <= 8)
      CFixedAlloc::Free(p, sizeof(T));
    else
      ::operator delete(p);
  }
  template <class U>
  bool operator==(const CFixedAllocator<U>&) const noexcept {
    return true;
  }
  template <class U>
  bool operator!=(const CFixedAllocator<U>&) const noexcept {
    return false;
  }
};
