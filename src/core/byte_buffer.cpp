// Allocation of ByteBuffer: an anonymous mapping on Linux, malloc elsewhere.
#include "core/byte_buffer.h"

#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace qla {

#if defined(__linux__)

namespace {

// Whole pages; one spare byte keeps a zero-sized buffer a real mapping like any other.
std::size_t MappedLength(std::size_t size) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return (size + 1 + page - 1) / page * page;
}

} // namespace

void ByteBuffer::Resize(std::size_t size) {
    const std::size_t length = MappedLength(size);
    if (data_ == nullptr) {
        void* p =
            ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        data_ = static_cast<char*>(p);
    } else if (length != capacity_) {
        // The pages are moved, not copied.
        void* p = ::mremap(data_, capacity_, length, MREMAP_MAYMOVE);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        data_ = static_cast<char*>(p);
    }
    capacity_ = length;
    size_ = size;
}

void ByteBuffer::Release() {
    if (data_ != nullptr)
        ::munmap(data_, capacity_);
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
}

#else

void ByteBuffer::Resize(std::size_t size) {
    void* p = std::realloc(data_, size + 1);
    if (p == nullptr)
        throw std::bad_alloc();
    data_ = static_cast<char*>(p);
    capacity_ = size + 1;
    size_ = size;
}

void ByteBuffer::Release() {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
}

#endif

} // namespace qla
