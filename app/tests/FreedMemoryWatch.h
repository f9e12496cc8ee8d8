#pragma once
// Keeps one heap block from being reused once it is deleted and fills it with a
// known pattern, so that a write into the object after its deletion shows.
// The program's operator new and delete are replaced for this.

#include <cstddef>

void WatchDeletion(const void* block, std::size_t size);
bool WatchedBlockDeleted();
// True when the block has been deleted and nothing has written to it since.
bool WatchedBlockUntouched();
// Frees a deleted watched block and stops watching.
void EndWatch();
