#pragma once
// The layout file's text: cleaning (comments, then spaces) and parsing into
// tables. Shared by the file reader, the layout tool and the fuzz target, so
// that all of them read a layout by the same rules.

#include <cstddef>
#include <cstdint>
#include <string>

#include "LayoutTables.h"

// What the reader meets on its way through a file, for the layout tool's
// checker, which explains it: where the text ends, each comment it removes,
// the cleaned text it parses, and each number, header and row with its place.
// Every callback is optional; a reader without an observer pays nothing.
class LayoutReadObserver {
public:
    // One number as scanned: its characters are cleaned[begin, end).
    struct Number {
        std::size_t begin = 0;
        std::size_t end = 0;
        uint32_t value = 0;
        bool terminated = false;  // a terminator stood at `end`, rather than the end of the text
        bool Empty() const { return begin >= end; }
    };
    enum class Header { Key, Mod, Layout };

    // Offsets in the file: where its text ends (its first zero byte), and each
    // comment removed, "/*" to just past "*/" (or to the text's end, unclosed).
    virtual void OnTextEnd(std::size_t) {}
    virtual void OnComment(std::size_t /*begin*/, std::size_t /*end*/, bool /*closed*/) {}
    // The text the parse reads; every position below is in it.
    virtual void OnCleaned(const std::string&) {}
    // An activation number; not kept when the reader drops it (no ";" before CR).
    virtual void OnActivationNumber(const Number&, bool /*kept*/) {}
    virtual void OnModifierNumber(const Number&) {}
    // "LAYOUT:" ends at headerEnd; the rest of its line, to lineEnd, is ignored.
    virtual void OnLayoutHeader(std::size_t /*headerEnd*/, std::size_t /*lineEnd*/) {}
    virtual void OnRowsStart(std::size_t) {}
    // A row, after its entries have joined the tables.
    virtual void OnRow(std::size_t /*start*/, const Number (&)[4]) {}
    // The header the grammar wants is not at pos: the file does not load.
    virtual void OnHeaderMissing(Header, std::size_t /*pos*/) {}

protected:
    ~LayoutReadObserver() = default;
};

// Deletes every comment from "/*" up to and including the next "*/"; the
// closing "*/" is looked for from two characters after the opening one, and a
// comment that is never closed runs to the end of the text. One pass, in
// place on the text it is given, like RemoveSpaces.
std::string RemoveComments(std::string text, LayoutReadObserver* observer = nullptr);

// Deletes every space character (32); tabs and everything else stay. Works in
// place on the text it is given: a file read once is not copied again.
std::string RemoveSpaces(std::string text);

// Parses cleaned text. True when "KEY:", "MOD:" and "LAYOUT:" stand where the
// grammar wants them; `tables` is then filled with what the text holds.
// False leaves `tables` in an unspecified state: callers parse into a fresh set.
bool ParseLayoutText(const std::string& cleaned, LayoutTables& tables, LayoutReadObserver* observer = nullptr);

// The whole reading of a file's bytes: the text ends at its first zero byte,
// then comments and spaces go, then it is parsed.
bool ParseLayoutBytes(std::string bytes, LayoutTables& tables, LayoutReadObserver* observer = nullptr);
