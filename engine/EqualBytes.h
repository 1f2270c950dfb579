// Block-wise comparisons of two byte ranges, many bytes at a time: their equal start with
// the line feeds in it, and their equal end. Both work in whole blocks of kEqualBlock
// bytes and leave a partial block to the caller.
#pragma once

#include <cstddef>

namespace lindrel::engine {

inline constexpr std::size_t kEqualBlock = 16;

// Compares a[p] with b[p] block by block from `from` while a whole block fits before `to`.
// Returns the start of the first block that differs (or, with `textMode`, holds a carriage
// return or a byte 26), or where the whole blocks end; the line feeds of the blocks before
// it are added to `lineFeeds`.
std::size_t EqualBlocks(const char* a, const char* b, std::size_t from, std::size_t to,
                        bool textMode, std::size_t& lineFeeds);

// The bytes, in whole blocks, at the ends of a[0, count) and b[0, count) that are equal
// (and, with `textMode`, hold no carriage return and no byte 26).
std::size_t EqualBlocksAtEnd(const char* a, const char* b, std::size_t count, bool textMode);

}  // namespace lindrel::engine
