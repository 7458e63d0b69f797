#pragma once

namespace desktop {

// Hands the memory that the program has freed back to the system. The allocator keeps freed
// memory for the program's next allocations; after a page or a window has gone, most of it would
// stay with the program for nothing.
void ReturnFreedMemory();

} // namespace desktop
