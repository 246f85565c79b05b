// A block of bytes left uninitialised. A log is read straight into it, so its pages are written
// once by the read instead of first being cleared. On Linux the block is a mapping of its own
// that grows with mremap, which moves no bytes; elsewhere it is malloc'd and grows with realloc.
// (Asking for 2 MB pages made the 1M-line log faster but the 10M-line log 40% slower on a
// virtual machine, where fresh large pages are costly to back; so the buffer does not.)
#pragma once

#include <cstddef>
#include <utility>

namespace qla {

class ByteBuffer {
  public:
    ByteBuffer() = default;
    ByteBuffer(ByteBuffer&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    ByteBuffer& operator=(ByteBuffer&& other) noexcept {
        if (this != &other) {
            Release();
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
            capacity_ = std::exchange(other.capacity_, 0);
        }
        return *this;
    }
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;
    ~ByteBuffer() { Release(); }

    // `size` bytes whose contents are undefined until written.
    static ByteBuffer Uninitialized(std::size_t size) {
        ByteBuffer buffer;
        buffer.Resize(size);
        return buffer;
    }

    // Keeps the first min(size, new size) bytes; bytes beyond them are undefined. Throws
    // std::bad_alloc when the memory cannot be had.
    void Resize(std::size_t size);

    char* data() { return data_; }
    const char* data() const { return data_; }
    std::size_t size() const { return size_; }

  private:
    void Release();

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0; // bytes allocated (a mapping's length on Linux)
};

} // namespace qla
