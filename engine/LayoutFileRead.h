#pragma once
// Reads a whole file into memory. On Windows this is CreateFileA with read
// sharing only, so a file that another program holds open for writing does not
// read; elsewhere it is the standard library.

#include <cstddef>
#include <string>

// Files larger than this are refused rather than read: no layout comes near it.
constexpr std::size_t kMaxLayoutFileBytes = 16u * 1024u * 1024u;

// True when the file could be opened and its size determined and allowed; the
// bytes read are then in `bytes`. A read that stops short is not noticed: the
// rest of `bytes` stays zero, as the text ends at its first zero byte anyway.
bool ReadLayoutFileBytes(const char* path, std::string& bytes);
