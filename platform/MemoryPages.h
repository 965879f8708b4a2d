#pragma once

#include <cstddef>

namespace platform {

// Has the system provide every page of a block that is about to be filled in one call, instead
// of one page fault at a time as it is first written. Does nothing where the system cannot.
void PreparePagesForWriting(void* block, std::size_t size);

}  // namespace platform
