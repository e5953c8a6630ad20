#include "engine/BulkMemory.h"

#include <cstdint>
#include <gtest/gtest.h>

using namespace twinscan;

namespace {

// Sizes on both sides of the point where blocks stop coming from the heap and are mapped.
TEST(BulkArray, ResizingKeepsContentsAndZeroFillsTheRest)
{
    const std::size_t sizes[] = {0, 10, 300000, 700000, 20, 0, 5, 262144, 262145, 3};
    BulkArray<std::uint32_t> array;
    std::size_t kept = 0;
    for (const std::size_t size : sizes) {
        ASSERT_TRUE(array.resize(size));
        ASSERT_EQ(array.size(), size);
        for (std::size_t i = 0; i < size; ++i) {
            const std::uint32_t expected = i < kept ? std::uint32_t(i * 7 + 1) : 0;
            ASSERT_EQ(array[i], expected) << "element " << i << " after resizing to " << size;
        }
        for (std::size_t i = 0; i < size; ++i)
            array[i] = std::uint32_t(i * 7 + 1);
        kept = size;
    }
}

TEST(BulkArray, MovedArrayOwnsTheBlock)
{
    BulkArray<char> first(std::size_t(3) << 20);
    first[(std::size_t(3) << 20) - 1] = 'z';
    BulkArray<char> second(std::move(first));
    EXPECT_EQ(first.size(), 0u);
    EXPECT_EQ(first.data(), nullptr);
    ASSERT_EQ(second.size(), std::size_t(3) << 20);
    EXPECT_EQ(second[(std::size_t(3) << 20) - 1], 'z');
    BulkArray<char> third(16);
    third = std::move(second);
    EXPECT_EQ(third[(std::size_t(3) << 20) - 1], 'z');
    third.reset();
    EXPECT_EQ(third.size(), 0u);
}

TEST(BulkArray, ImpossibleSizeFailsWithoutChange)
{
    BulkArray<std::uint64_t> array(4);
    array[3] = 9;
    EXPECT_FALSE(array.resize(std::size_t(-1) / 4));
    ASSERT_EQ(array.size(), 4u);
    EXPECT_EQ(array[3], 9u);
}

} // namespace
