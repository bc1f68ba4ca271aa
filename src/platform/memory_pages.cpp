#include "platform/memory_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14
#endif

namespace tavoe {

void PopulatePages(void* data, std::size_t size) {
    static const auto kPage = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto from = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t start = (from + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t end = (from + size) & ~(kPage - 1);
    if (end > start) {
        (void)::madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
    }
}

}  // namespace tavoe
