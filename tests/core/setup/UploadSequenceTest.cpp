// The chunk sequence of a file upload for the sizes around the chunk size.
#include "core/setup/UploadSequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct Chunk {
    int sequence;
    std::uint32_t length;
    bool last;
    bool operator==(const Chunk&) const = default;
};

// Drives the sequence as the recorder answers: ready, then "stored" after
// every chunk; the file yields what is left, at most 512 bytes a read.
std::vector<Chunk> Upload(std::uint32_t size, UploadSequence& upload)
{
    std::vector<Chunk> chunks;
    upload.Begin(size);
    std::uint32_t offset = 0;
    auto request = upload.OnReady();
    while (request) {
        const std::uint32_t count = std::min(UploadSequence::kChunkSize, size - offset);
        offset += count;
        const bool last = upload.ChunkRead(count);
        chunks.push_back({request->sequence, count, last});
        request = upload.OnChunkStored();
    }
    return chunks;
}

} // namespace

TEST(UploadSequenceTest, ChunksForSizesAroundTheChunkSize)
{
    UploadSequence upload;
    EXPECT_EQ(Upload(0, upload), (std::vector<Chunk>{{0, 0, true}}));
    EXPECT_EQ(Upload(511, upload), (std::vector<Chunk>{{0, 511, true}}));
    // A whole number of chunks ends with an empty last one.
    EXPECT_EQ(Upload(512, upload), (std::vector<Chunk>{{0, 512, false}, {1, 0, true}}));
    EXPECT_EQ(Upload(513, upload), (std::vector<Chunk>{{0, 512, false}, {1, 1, true}}));
    EXPECT_EQ(upload.GetState(), UploadSequence::State::Succeeded);
    EXPECT_EQ(upload.Uploaded(), 513u);
}

TEST(UploadSequenceTest, SequenceNumbersWrapAfter255)
{
    UploadSequence upload;
    const std::vector<Chunk> chunks = Upload(512 * 300, upload);
    ASSERT_EQ(chunks.size(), 301u);
    for (std::size_t i = 0; i < 300; ++i)
        ASSERT_EQ(chunks[i], (Chunk{static_cast<int>(i % 256), 512, false})) << i;
    EXPECT_EQ(chunks[255].sequence, 255);
    EXPECT_EQ(chunks[256].sequence, 0);
    EXPECT_EQ(chunks[300], (Chunk{300 % 256, 0, true}));
    EXPECT_EQ(upload.Uploaded(), 512u * 300);
    EXPECT_EQ(UploadProgressUnits(upload.Uploaded()), 15360);
}

TEST(UploadSequenceTest, SuccessWaitsForTheLastChunkToBeStored)
{
    UploadSequence upload;
    upload.Begin(100);
    ASSERT_TRUE(upload.OnReady());
    EXPECT_TRUE(upload.ChunkRead(100));
    EXPECT_EQ(upload.GetState(), UploadSequence::State::AwaitingLastAck);
    EXPECT_TRUE(upload.Running());
    // The recorder refuses the last chunk: a failure, never a success.
    upload.OnFailed();
    EXPECT_EQ(upload.GetState(), UploadSequence::State::Failed);
    EXPECT_FALSE(upload.OnChunkStored());
    EXPECT_EQ(upload.GetState(), UploadSequence::State::Failed);

    // Notices with no upload under way change nothing.
    UploadSequence idle;
    EXPECT_FALSE(idle.OnReady());
    EXPECT_FALSE(idle.OnChunkStored());
    idle.OnFailed();
    EXPECT_EQ(idle.GetState(), UploadSequence::State::Idle);
    EXPECT_EQ(UploadStatusText(1024, 2048), " 1024 / 2048 (Byte)");
}
