#include "engine/MappedFile.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace twinscan {

namespace {
// The guarded mappings, read by the signal handler: plain atomics, no locks.
struct Guarded
{
    std::atomic<std::uintptr_t> begin {0};
    std::atomic<std::uintptr_t> end {0}; // page-rounded
    std::atomic<bool> damaged {false};
};
constexpr int slotCount = 16;
Guarded guarded[slotCount];
std::mutex slotsMutex; // for taking and freeing slots, never in the handler
struct sigaction previousAction;

std::uintptr_t pageSize()
{
    static const auto size = std::uintptr_t(::sysconf(_SC_PAGESIZE));
    return size;
}

void onBusError(int signal, siginfo_t *info, void *context)
{
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Guarded &g : guarded) {
        const std::uintptr_t begin = g.begin.load();
        const std::uintptr_t end = g.end.load();
        if (address < begin || address >= end)
            continue;
        // Zero pages from the lost one to the end: the reader retries and goes on.
        const std::uintptr_t page = address & ~(pageSize() - 1);
        void *zeros = ::mmap(reinterpret_cast<void *>(page), end - page, PROT_READ,
            MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        if (zeros != MAP_FAILED) {
            g.damaged.store(true);
            return;
        }
    }
    // Not ours: whatever would have happened without us.
    if (previousAction.sa_flags & SA_SIGINFO) {
        previousAction.sa_sigaction(signal, info, context);
    } else if (previousAction.sa_handler != SIG_IGN && previousAction.sa_handler != SIG_DFL) {
        previousAction.sa_handler(signal);
    } else {
        ::signal(SIGBUS, SIG_DFL); // the faulting access runs again and ends the program
    }
}

bool installHandler()
{
    struct sigaction action = {};
    action.sa_sigaction = onBusError;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGBUS, &action, &previousAction) == 0;
}
} // namespace

MappedFile::~MappedFile()
{
    if (!data_)
        return;
    const std::lock_guard lock(slotsMutex);
    Guarded &g = guarded[slot_];
    ::munmap(const_cast<char *>(data_), g.end - g.begin);
    g.begin = 0;
    g.end = 0;
    g.damaged = false;
}

bool MappedFile::map(int fd, std::size_t size)
{
    static const bool handled = installHandler();
    if (!handled || size == 0)
        return false;
    const std::lock_guard lock(slotsMutex);
    int free = 0;
    while (free < slotCount && guarded[free].end != 0)
        ++free;
    if (free == slotCount)
        return false;
    void *view = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    if (view == MAP_FAILED)
        return false;
    const auto begin = reinterpret_cast<std::uintptr_t>(view);
    guarded[free].damaged = false;
    guarded[free].begin = begin;
    guarded[free].end = (begin + size + pageSize() - 1) & ~(pageSize() - 1);
    data_ = static_cast<const char *>(view);
    size_ = size;
    slot_ = free;
    return true;
}

bool MappedFile::damaged() const
{
    return data_ && guarded[slot_].damaged.load();
}

} // namespace twinscan
