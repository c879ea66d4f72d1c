#pragma once
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <unistd.h>

#include "common/ModulePath.h"

// What RapidJSON's SAX parser needs from the Google location history reader: its input
// stream over a file, and an allocator for its stack that fails by throwing.

// The file as RapidJSON's input stream, read in blocks; counts lines for error messages.
class JsonFileStream {
public:
    using Ch = char;
    explicit JsonFileStream(int fd) : fd(fd), block(size_t{1} << 20) {}
    Ch Peek() { return next < end || Fill() ? block[next] : '\0'; }
    Ch Take()
    {
        if (next == end && !Fill())
            return '\0';
        const Ch c = block[next++];
        line += c == '\n';
        return c;
    }
    size_t Tell() const { return before + next; }
    // Only in-situ parsing writes to its input stream; this one is never asked to.
    Ch* PutBegin() { return nullptr; }
    void Put(Ch) {}
    void Flush() {}
    size_t PutEnd(Ch*) { return 0; }

    int64_t line = 1;
    std::string error;   // a read error, which the parser sees as the end of the file

private:
    // Out of line, so that Peek and Take stay small enough to inline.
    __attribute__((noinline)) bool Fill()
    {
        while (next == end && !atEnd) {
            before += end;
            next = end = 0;
            ssize_t n;
            do
                n = read(fd, block.data(), block.size());
            while (n < 0 && errno == EINTR);
            if (n < 0)
                error = "can't be read: " + SystemErrorText(errno, 256);
            atEnd = n <= 0;
            end = n > 0 ? static_cast<size_t>(n) : 0;
            if (before == 0 && end >= 3 && std::memcmp(block.data(), "\xEF\xBB\xBF", 3) == 0)
                next = 3;   // a UTF-8 byte order mark, which JSON doesn't allow but editors write
        }
        return next < end;
    }

    const int fd;
    std::vector<char> block;
    size_t next = 0, end = 0, before = 0;
    bool atEnd = false;
};

// The parser's stack memory: a failed allocation throws std::bad_alloc, which Read turns
// into its reason, where RapidJSON's own would go on with a null stack.
struct JsonStackAllocator {
    static const bool kNeedFree = true;
    void* Malloc(size_t size)
    {
        void* block = size ? std::malloc(size) : nullptr;
        if (size && !block)
            throw std::bad_alloc();
        return block;
    }
    void* Realloc(void* original, size_t, size_t size)
    {
        if (size == 0) {
            std::free(original);
            return nullptr;
        }
        void* block = std::realloc(original, size);
        if (!block)
            throw std::bad_alloc();   // original is still the stack's, freed with it
        return block;
    }
    static void Free(void* block) { std::free(block); }
};

