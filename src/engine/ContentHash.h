#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct XXH3_state_s;

namespace twinscan {

// A fast 64-bit hash of a file's bytes, fed chunk by chunk as they are read: the scan and the
// save both hash what they read, so the save can tell that it read the very bytes the scan did.
// The bytes are hashed in chunks of chunkBytes whose digests are then hashed together, so that
// a reader holding the whole file can hash its chunks side by side on several threads.
class ContentHash
{
public:
    static constexpr std::size_t chunkBytes = std::size_t(1) << 20;

    ContentHash();
    ~ContentHash();
    ContentHash(const ContentHash &) = delete;
    ContentHash &operator=(const ContentHash &) = delete;

    void add(const char *bytes, std::size_t size);
    std::uint64_t value() const;

    // The same hash from the digests of every chunk, in order, the last one possibly short.
    static std::uint64_t chunkDigest(const char *bytes, std::size_t size);
    static std::uint64_t combine(const std::vector<std::uint64_t> &digests);

private:
    struct Free
    {
        void operator()(XXH3_state_s *state) const;
    };
    std::unique_ptr<XXH3_state_s, Free> state_; // of the chunk being read
    std::size_t inChunk_ = 0;
    std::vector<std::uint64_t> digests_; // of the chunks read whole
};

} // namespace twinscan
