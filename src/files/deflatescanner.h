// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// Reads the block structure of a raw deflate stream without producing its data: where
// its final block begins and where the stream ends. Every Huffman code is decoded (a
// block's end can be found no other way) but no byte of output is written or kept, so
// it costs a small part of inflating the stream: the PNG export joins separately
// compressed pieces into one stream and needs to find each piece's final block.
class CDeflateScanner
{
public:
    struct Ends
    {
        size_t FinalBlock = 0; // bit of the final block's first header bit (BFINAL)
        size_t End = 0;        // bit after the final block's last code (or stored byte)
    };

    // Bits count from the first byte's lowest bit. False when data does not hold a
    // whole valid deflate stream (it may go on past its end).
    static bool Scan(const unsigned char *data, size_t size, Ends *ends);
};
