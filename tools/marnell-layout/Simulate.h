#pragma once
// Runs key events read as text lines through the engine, with a key state kept
// as Windows keeps it, and writes one decision per event.

#include <iosfwd>

// 0 when every line was read; 2 at the first malformed line (reported on `err`
// with its line number; the output for earlier lines stays).
int SimulateKeyEvents(std::istream& in, std::ostream& out, std::ostream& err);
