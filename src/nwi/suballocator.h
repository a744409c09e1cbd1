// The library's sub-allocator: small zero-filled pieces carved from large
// global memory blocks, so that instance records, text copies and item
// nodes do not each cost a global memory object.
#pragma once

#include <windows.h>

// Limits of one piece: requests of 0 bytes or of kHCtlPieceLimit and more
// give none.
inline constexpr size_t kHCtlPieceLimit = 32767;

// A zero-filled piece of at least `size` bytes, aligned for any record of
// the library; nullptr for 0 or kHCtlPieceLimit bytes and more, or when
// memory runs out.
void* HCtlAlloc(size_t size);

// Returns the piece to its block: nullptr when freed; `piece` itself when it
// did not come from the sub-allocator (nothing is done then). A block whose
// last piece goes is returned to the system.
void* HCtlFree(void* piece);

// The piece resized (possibly moved, contents kept up to the smaller size,
// growth zero-filled), or nullptr with the old piece still valid. A null
// piece is a fresh allocation.
void* HCtlRealloc(void* piece, size_t size);

// The usable size of a piece (a multiple of the granule), 0 for an address
// that is no piece of the sub-allocator.
size_t HCtlPieceSize(const void* piece);

// Blocks now held from the system (for diagnostics and tests).
int HCtlBlockCount();
