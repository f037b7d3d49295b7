#include "platform/decoder/AlignedBufferPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

TEST(AlignedBufferPool, GivenBuffersAreTakenAgainOnlyWhenTheirSizeSuits)
{
    AlignedBufferPool pool(2, 0);
    AlignedBuffer buffer = pool.Take(120000);
    ASSERT_GE(buffer.Capacity(), 120000u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer.Data()) % AlignedBuffer::kAlignment, 0u);
    const std::uint8_t* address = buffer.Data();
    pool.Give(std::move(buffer));
    EXPECT_EQ(pool.SpareCount(), 1u);

    // Far smaller requests do not pin a large buffer; larger ones cannot use it.
    EXPECT_NE(pool.Take(1000).Data(), address);
    EXPECT_GE(pool.Take(200000).Capacity(), 200000u);
    EXPECT_EQ(pool.SpareCount(), 1u);
    EXPECT_EQ(pool.Take(100000).Data(), address);
    EXPECT_EQ(pool.SpareCount(), 0u);
}

TEST(AlignedBufferPool, OldestSpareGoesWhenFull)
{
    AlignedBufferPool pool(2, 0);
    AlignedBuffer small = pool.Take(4096);
    AlignedBuffer large1 = pool.Take(65536);
    AlignedBuffer large2 = pool.Take(65536);
    pool.Give(std::move(small));
    pool.Give(std::move(large1));
    pool.Give(std::move(large2));
    EXPECT_EQ(pool.SpareCount(), 2u);
    // The small buffer was the oldest: it is gone, and the large ones are too large for a small request.
    pool.Take(4096);
    EXPECT_EQ(pool.SpareCount(), 2u);
    pool.Take(65536);
    EXPECT_EQ(pool.SpareCount(), 1u);
}

TEST(AlignedBufferPool, MinimumCapacityServesSmallRequests)
{
    AlignedBufferPool pool(4, 65536);
    AlignedBuffer buffer = pool.Take(10);
    EXPECT_GE(buffer.Capacity(), 65536u);
    const std::uint8_t* address = buffer.Data();
    pool.Give(std::move(buffer));
    EXPECT_EQ(pool.Take(10).Data(), address);
    pool.Give(AlignedBuffer());
    EXPECT_EQ(pool.SpareCount(), 0u);
}

TEST(AlignedBufferPool, BuffersPassBetweenThreads)
{
    AlignedBufferPool pool(3, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&pool, t] {
            for (int i = 0; i < 500; ++i) {
                AlignedBuffer buffer = pool.Take(8192);
                buffer.Data()[i % 8192] = static_cast<std::uint8_t>(t);
                pool.Give(std::move(buffer));
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_LE(pool.SpareCount(), 3u);
}

TEST(AlignedBufferPool, NewestSpareIsTakenFirst)
{
    // The one given back last is the likeliest to be in the caches still.
    AlignedBufferPool pool(3, 0);
    AlignedBuffer first = pool.Take(65536);
    AlignedBuffer second = pool.Take(65536);
    const std::uint8_t* newest = second.Data();
    pool.Give(std::move(first));
    pool.Give(std::move(second));
    EXPECT_EQ(pool.Take(65536).Data(), newest);
}
