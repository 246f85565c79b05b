// A block of bytes from malloc, left uninitialised. A log is read straight into it, so its pages
// are written once by the read instead of first being cleared; growing it with realloc lets the
// allocator extend a large block in place (mremap) rather than copy it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qla {

class ByteBuffer {
  public:
    ByteBuffer() = default;

    // `size` bytes whose contents are undefined until written.
    static ByteBuffer Uninitialized(std::size_t size) {
        ByteBuffer buffer;
        buffer.Resize(size);
        return buffer;
    }

    // Keeps the first min(size, new size) bytes; bytes beyond them are undefined.
    void Resize(std::size_t size) {
        // realloc(p, 0) may free or not; one spare byte keeps every size the same case.
        void* grown = std::realloc(data_.get(), size + 1);
        if (grown == nullptr)
            throw std::bad_alloc();
        data_.release();
        data_.reset(static_cast<char*>(grown));
        size_ = size;
        AskForHugePages();
    }

    char* data() { return data_.get(); }
    const char* data() const { return data_.get(); }
    std::size_t size() const { return size_; }

  private:
    // A log of many megabytes is written page by page by the read; on Linux, 2 MB pages take
    // one fault where 4 KB pages take 512. Only a hint: without it the buffer works the same.
    void AskForHugePages() {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
        if (size_ < 2 * kHuge)
            return;
        const auto begin = reinterpret_cast<std::uintptr_t>(data_.get());
        const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
        const std::uintptr_t last = (begin + size_) & ~(kHuge - 1);
        if (last > first)
            ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
    }

    struct Free {
        void operator()(char* p) const { std::free(p); }
    };
    std::unique_ptr<char, Free> data_;
    std::size_t size_ = 0;
};

} // namespace qla
