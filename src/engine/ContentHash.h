#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct XXH3_state_s;

namespace twinscan {

// A fast 64-bit hash of a file's bytes, fed chunk by chunk as they are read: the scan and the
// save both hash what they read, so the save can tell that it read the very bytes the scan did.
class ContentHash
{
public:
    ContentHash();
    ~ContentHash();
    ContentHash(const ContentHash &) = delete;
    ContentHash &operator=(const ContentHash &) = delete;

    void add(const char *bytes, std::size_t size);
    std::uint64_t value() const;

private:
    struct Free
    {
        void operator()(XXH3_state_s *state) const;
    };
    std::unique_ptr<XXH3_state_s, Free> state_;
};

} // namespace twinscan
