// The plainest fast program for the job the benchmark times: print a file's lines, leaving out
// every line whose ASCII upper-cased text came before, blank lines always kept. One thread, the
// file mapped, XXH3 over the upper-cased line, an open-addressing table of first lines. It shows
// how far the program is from what a minimal single-threaded C++ program does.
//
//   mmap_xxh3_keep_first FILE > OUT

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <xxhash.h>

namespace {

struct Slot
{
    std::uint64_t hash = 0;
    const char *line = nullptr; // of the first line with this key
    std::uint32_t length = 0;
};

bool blank(std::string_view line)
{
    return line.find_first_not_of(' ') == std::string_view::npos;
}

bool sameUpper(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto up = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; };
        if (up(a[i]) != up(b[i]))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE > OUT\n", argv[0]);
        return 2;
    }
    const int fd = ::open(argv[1], O_RDONLY);
    struct stat st = {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || st.st_size == 0) {
        std::perror(argv[1]);
        return 1;
    }
    const auto size = std::size_t(st.st_size);
    auto *data = static_cast<const char *>(::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0));
    if (data == MAP_FAILED) {
        std::perror(argv[1]);
        return 1;
    }
    std::size_t lines = 1;
    for (const char *p = data;
         (p = static_cast<const char *>(std::memchr(p, '\n', std::size_t(data + size - p)))); ++p)
        ++lines;
    std::vector<Slot> table(std::size_t(1) << (64 - __builtin_clzll(lines + lines / 2)));
    const std::size_t mask = table.size() - 1;
    std::string upper;
    std::string out;
    out.reserve(std::size_t(1) << 22);
    for (const char *p = data, *end = data + size; p < end;) {
        const char *brk = static_cast<const char *>(std::memchr(p, '\n', std::size_t(end - p)));
        const char *next = brk ? brk + 1 : end;
        const std::string_view line(p, std::size_t((brk ? brk : end) - p));
        bool keep = true;
        if (!blank(line)) {
            upper.assign(line);
            for (char &c : upper)
                c = c >= 'a' && c <= 'z' ? char(c - 32) : c;
            const std::uint64_t hash = XXH3_64bits(upper.data(), upper.size());
            for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
                Slot &slot = table[i];
                if (!slot.line) {
                    slot = {hash, line.data(), std::uint32_t(line.size())};
                    break;
                }
                if (slot.hash == hash && sameUpper(line, {slot.line, slot.length})) {
                    keep = false;
                    break;
                }
            }
        }
        if (keep)
            out.append(p, std::size_t(next - p));
        if (out.size() >= (std::size_t(1) << 22)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
        p = next;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
