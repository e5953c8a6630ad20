#pragma once

#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace twinscan {

// Memory for the large arrays of one file: its bytes, its line index, the lists of a large file
// and the scan's table. Large blocks are mapped from the system and backed by huge pages where it
// offers them, because faulting millions of small pages in one by one costs more than the work
// done on them. Every block starts zero-filled; pages never written cost no memory.
namespace bulk {
void *allocate(std::size_t bytes) noexcept; // nullptr when there is no memory
// Keeps the first min(oldBytes, newBytes) bytes and zero-fills the rest; on failure returns
// nullptr and leaves the old block as it was.
void *reallocate(void *block, std::size_t oldBytes, std::size_t newBytes) noexcept;
void release(void *block, std::size_t bytes) noexcept;
// Has the system fill in the whole pages of [start, start + bytes) now, in one call, ahead of
// writes that will land all over them: one fault per page in the middle of those writes costs
// more. Changes no byte; where the system cannot do it, the pages fault in as they are written.
void prefault(void *start, std::size_t bytes) noexcept;
} // namespace bulk

template<class T> class BulkArray
{
    static_assert(std::is_trivially_copyable_v<T>, "elements are moved as bytes");

public:
    BulkArray() = default;
    explicit BulkArray(std::size_t count)
    {
        if (!resize(count))
            throw std::bad_alloc();
    }
    ~BulkArray() { bulk::release(data_, size_ * sizeof(T)); }
    BulkArray(BulkArray &&other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0))
    {
    }
    BulkArray &operator=(BulkArray &&other) noexcept
    {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        return *this;
    }

    // New elements are all-zero bytes. False, with the array unchanged, when memory runs out.
    bool resize(std::size_t count) noexcept
    {
        if (count == size_)
            return true;
        if (count > std::size_t(-1) / sizeof(T))
            return false;
        void *grown = bulk::reallocate(data_, size_ * sizeof(T), count * sizeof(T));
        if (!grown && count > 0)
            return false;
        data_ = static_cast<T *>(grown);
        size_ = count;
        return true;
    }
    void reset() noexcept { BulkArray().swap(*this); }
    void swap(BulkArray &other) noexcept
    {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
    }

    T *data() noexcept { return data_; }
    const T *data() const noexcept { return data_; }
    std::size_t size() const noexcept { return size_; }
    T &operator[](std::size_t i) noexcept { return data_[i]; }
    const T &operator[](std::size_t i) const noexcept { return data_[i]; }

private:
    T *data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace twinscan
