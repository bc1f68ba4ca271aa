#pragma once

#include <cstddef>

namespace tavoe {

// Makes the whole pages inside [data, data + size) present and writable in one call, as if each had
// been written to, without changing a byte. Touching fresh memory page by page costs a fault per page,
// which on virtual machines is dearer than the kernel's zeroing of the page: a buffer that is about to
// be filled from end to end (a large file read, the pages of a million lines) arrives much faster
// this way. Best effort: a kernel without the call leaves the pages to fault in as they are touched.
void PopulatePages(void* data, std::size_t size);

}  // namespace tavoe
