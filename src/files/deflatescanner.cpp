// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/deflatescanner.h"

#include <cstdint>

namespace {

constexpr int MaxBits = 15; // longest code
constexpr int MaxLiteralCodes = 286;
constexpr int MaxDistanceCodes = 30;
constexpr int FixedLiteralCodes = 288;

// Extra bits after each length code (257..285) and each distance code.
constexpr int LengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int DistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                   6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// The stream's bits, lowest first, read from a buffer of up to 32 bits.
class CBitReader
{
public:
    CBitReader(const unsigned char *data, size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    // The next count bits (at most 24), or false past the data's end.
    bool Read(int count, unsigned *value)
    {
        while (m_count < count) {
            if (m_at >= m_size)
                return false;
            m_buffer |= uint32_t(m_data[m_at++]) << m_count;
            m_count += 8;
        }
        *value = m_buffer & ((1u << count) - 1);
        m_buffer = count < 32 ? m_buffer >> count : 0;
        m_count -= count;
        return true;
    }
    // Drops the bits up to the next byte boundary.
    void ToByte()
    {
        m_buffer = 0;
        m_count = 0;
    }
    bool Skip(size_t bytes)
    {
        if (m_size - m_at < bytes)
            return false;
        m_at += bytes;
        return true;
    }
    size_t Position() const { return m_at * 8 - size_t(m_count); }

private:
    const unsigned char *m_data;
    size_t m_size;
    size_t m_at = 0;
    uint32_t m_buffer = 0;
    int m_count = 0;
};

// A canonical Huffman code: how many codes each length has and the symbols in code
// order.
struct Code
{
    int16_t Count[MaxBits + 1];
    int16_t Symbol[FixedLiteralCodes];
};

// Builds the code from each symbol's length. Returns 0 for a complete code, above 0
// for an incomplete one, below 0 for an over-subscribed one.
int Build(Code &code, const int16_t *lengths, int symbols)
{
    for (int16_t &c : code.Count)
        c = 0;
    for (int s = 0; s < symbols; ++s)
        ++code.Count[lengths[s]];
    if (code.Count[0] == symbols)
        return 0; // no codes: complete, though nothing decodes
    int left = 1;
    for (int len = 1; len <= MaxBits; ++len) {
        left = (left << 1) - code.Count[len];
        if (left < 0)
            return left;
    }
    int16_t offset[MaxBits + 1];
    offset[1] = 0;
    for (int len = 1; len < MaxBits; ++len)
        offset[len + 1] = int16_t(offset[len] + code.Count[len]);
    for (int s = 0; s < symbols; ++s) {
        if (lengths[s] != 0)
            code.Symbol[offset[lengths[s]]++] = int16_t(s);
    }
    return left;
}

// The next symbol of code, or -1 (no such code, or the data ended).
int Decode(CBitReader &bits, const Code &code)
{
    int value = 0; // the bits read so far, first bit highest
    int first = 0; // first code of the current length
    int index = 0; // index of that code's symbol
    for (int len = 1; len <= MaxBits; ++len) {
        unsigned bit;
        if (!bits.Read(1, &bit))
            return -1;
        value |= int(bit);
        const int count = code.Count[len];
        if (value - count < first)
            return code.Symbol[index + (value - first)];
        index += count;
        first = (first + count) << 1;
        value <<= 1;
    }
    return -1;
}

// Reads a compressed block's codes up to its end-of-block code.
bool SkipCodes(CBitReader &bits, const Code &literals, const Code &distances)
{
    for (;;) {
        int symbol = Decode(bits, literals);
        if (symbol < 0)
            return false;
        if (symbol < 256)
            continue;
        if (symbol == 256)
            return true;
        symbol -= 257;
        unsigned extra;
        if (symbol >= 29 || !bits.Read(LengthExtra[symbol], &extra))
            return false;
        symbol = Decode(bits, distances);
        if (symbol < 0 || symbol >= MaxDistanceCodes || !bits.Read(DistanceExtra[symbol], &extra))
            return false;
    }
}

bool SkipFixed(CBitReader &bits)
{
    static const struct Fixed
    {
        Code Literals;
        Code Distances;
        Fixed()
        {
            int16_t lengths[FixedLiteralCodes];
            for (int s = 0; s < FixedLiteralCodes; ++s)
                lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
            Build(Literals, lengths, FixedLiteralCodes);
            for (int s = 0; s < MaxDistanceCodes; ++s)
                lengths[s] = 5;
            Build(Distances, lengths, MaxDistanceCodes);
        }
    } fixed;
    return SkipCodes(bits, fixed.Literals, fixed.Distances);
}

bool SkipDynamic(CBitReader &bits)
{
    unsigned literalCount, distanceCount, lengthCount;
    if (!bits.Read(5, &literalCount) || !bits.Read(5, &distanceCount) || !bits.Read(4, &lengthCount))
        return false;
    literalCount += 257;
    distanceCount += 1;
    lengthCount += 4;
    if (literalCount > unsigned(MaxLiteralCodes) || distanceCount > unsigned(MaxDistanceCodes))
        return false;
    // The lengths of the code that codes the lengths, in this order.
    static const int order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    int16_t lengths[MaxLiteralCodes + MaxDistanceCodes] = {};
    for (unsigned i = 0; i < lengthCount; ++i) {
        unsigned length;
        if (!bits.Read(3, &length))
            return false;
        lengths[order[i]] = int16_t(length);
    }
    Code lengthCode;
    if (Build(lengthCode, lengths, 19) != 0)
        return false;
    const unsigned total = literalCount + distanceCount;
    unsigned index = 0;
    while (index < total) {
        const int symbol = Decode(bits, lengthCode);
        if (symbol < 0)
            return false;
        if (symbol < 16) {
            lengths[index++] = int16_t(symbol);
            continue;
        }
        int16_t repeated = 0;
        unsigned times;
        if (symbol == 16) {
            if (index == 0 || !bits.Read(2, &times))
                return false;
            repeated = lengths[index - 1];
            times += 3;
        } else if (symbol == 17) {
            if (!bits.Read(3, &times))
                return false;
            times += 3;
        } else {
            if (!bits.Read(7, &times))
                return false;
            times += 11;
        }
        if (index + times > total)
            return false;
        while (times-- > 0)
            lengths[index++] = repeated;
    }
    if (lengths[256] == 0)
        return false; // no end-of-block code
    // Incomplete codes are allowed only when they hold a single code.
    Code literals;
    int left = Build(literals, lengths, int(literalCount));
    if (left < 0 || (left > 0 && int(literalCount) - literals.Count[0] != 1))
        return false;
    Code distances;
    left = Build(distances, lengths + literalCount, int(distanceCount));
    if (left < 0 || (left > 0 && int(distanceCount) - distances.Count[0] != 1))
        return false;
    return SkipCodes(bits, literals, distances);
}

bool SkipStored(CBitReader &bits)
{
    bits.ToByte();
    unsigned length, complement;
    if (!bits.Read(16, &length) || !bits.Read(16, &complement) || length != (~complement & 0xFFFFu))
        return false;
    return bits.Skip(length);
}

} // namespace

bool CDeflateScanner::Scan(const unsigned char *data, size_t size, Ends *ends)
{
    CBitReader bits(data, size);
    for (;;) {
        const size_t start = bits.Position();
        unsigned final, type;
        if (!bits.Read(1, &final) || !bits.Read(2, &type))
            return false;
        const bool read = type == 0 ? SkipStored(bits) : type == 1 ? SkipFixed(bits) : type == 2 && SkipDynamic(bits);
        if (!read)
            return false;
        if (final) {
            ends->FinalBlock = start;
            ends->End = bits.Position();
            return true;
        }
    }
}
