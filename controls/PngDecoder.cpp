#include "controls/PngDecoder.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

// Larger pictures are left to GDI+; the skin's largest is a few hundred pixels a side.
constexpr uint32_t kMaxSide = 8192;

uint32_t ReadBigEndian(const BYTE* p)
{
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

uint32_t Crc32(const BYTE* data, size_t size)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

uint32_t Adler32(const BYTE* data, size_t size)
{
    uint32_t a = 1;
    uint32_t b = 0;
    while (size > 0) {
        // 5552 bytes is the most that cannot overflow 32 bits before the reduction.
        size_t run = size < 5552 ? size : 5552;
        size -= run;
        // Sixteen bytes a step: b gains sixteen times a and each byte weighted by how many of
        // the step's sums it enters.
        for (; run >= 16; run -= 16, data += 16) {
            uint32_t sum = 0;
            uint32_t weighted = 0;
            for (int i = 0; i < 16; ++i) {
                sum += data[i];
                weighted += static_cast<uint32_t>(16 - i) * data[i];
            }
            b += 16 * a + weighted;
            a += sum;
        }
        for (; run > 0; --run) {
            a += *data++;
            b += a;
        }
        a %= 65521;
        b %= 65521;
    }
    return (b << 16) | a;
}

// The compressed stream's bits, least significant first. Reading past the end yields zero
// bits and marks the reader overrun, which fails the stream.
class BitReader {
public:
    BitReader(const BYTE* data, size_t size) : m_next(data), m_end(data + size) {}

    uint32_t Peek(int count)
    {
        Fill(count);
        return static_cast<uint32_t>(m_buffer & ((uint64_t{1} << count) - 1));
    }
    void Drop(int count)
    {
        m_buffer >>= count;
        m_count -= count;
    }
    uint32_t Take(int count)
    {
        const uint32_t value = Peek(count);
        Drop(count);
        return value;
    }
    // To the next whole byte, as stored blocks and the trailing check sum lie.
    void AlignToByte() { Drop(m_count % 8); }
    bool Overrun() const { return m_padding * 8 > m_count; }
    // The next whole byte; only after AlignToByte, and not overrun. Zero bytes read past the
    // end are still in the buffer, not in the data.
    const BYTE* BytePosition() const { return m_next - (m_count / 8 - m_padding); }
    void SkipTo(const BYTE* position)
    {
        m_next = position;
        m_buffer = 0;
        m_count = 0;
        m_padding = 0;
    }
    const BYTE* End() const { return m_end; }

private:
    void Fill(int count)
    {
        if (m_count >= count) {
            return;
        }
        // Whole bytes up to 56 bits at once while the data lasts.
        if (m_end - m_next >= 8) {
            uint64_t word;
            std::memcpy(&word, m_next, 8);
            const int bytes = (63 - m_count) / 8;
            m_buffer = (m_buffer | word << m_count) & ((uint64_t{1} << (m_count + bytes * 8)) - 1);
            m_next += bytes;
            m_count += bytes * 8;
            return;
        }
        while (m_count < count) {
            uint64_t byte = 0;
            if (m_next < m_end) {
                byte = *m_next++;
            } else {
                ++m_padding;
            }
            m_buffer |= byte << m_count;
            m_count += 8;
        }
    }

    const BYTE* m_next;
    const BYTE* m_end;
    uint64_t m_buffer = 0;
    int m_count = 0;
    int m_padding = 0;
};

// A canonical Huffman code: codes of up to kFastBits bits are looked up in one step, longer
// ones walked bit by bit.
class HuffmanCode {
public:
    static constexpr int kMaxBits = 15;

    // False for lengths that give more codes than bits allow.
    bool Build(const uint8_t* lengths, int symbols)
    {
        m_fast.fill(0);
        m_counts.fill(0);
        m_sorted.assign(static_cast<size_t>(symbols), 0);
        for (int s = 0; s < symbols; ++s) {
            ++m_counts[lengths[s]];
        }
        m_counts[0] = 0;
        int left = 1;
        for (int bits = 1; bits <= kMaxBits; ++bits) {
            left = left * 2 - m_counts[bits];
            if (left < 0) {
                return false;
            }
        }
        std::array<int, kMaxBits + 2> offsets{};
        for (int bits = 1; bits <= kMaxBits; ++bits) {
            offsets[bits + 1] = offsets[bits] + m_counts[bits];
        }
        std::array<uint32_t, kMaxBits + 1> nextCode{};
        uint32_t code = 0;
        for (int bits = 1; bits <= kMaxBits; ++bits) {
            code = (code + m_counts[bits - 1]) << 1;
            nextCode[bits] = code;
        }
        for (int s = 0; s < symbols; ++s) {
            const int bits = lengths[s];
            if (bits == 0) {
                continue;
            }
            m_sorted[static_cast<size_t>(offsets[bits]++)] = static_cast<uint16_t>(s);
            const uint32_t assigned = nextCode[bits]++;
            if (bits <= kFastBits) {
                // The stream holds a code's first bit lowest.
                uint32_t reversed = 0;
                for (int i = 0; i < bits; ++i) {
                    reversed |= ((assigned >> i) & 1) << (bits - 1 - i);
                }
                for (uint32_t index = reversed; index < m_fast.size(); index += 1u << bits) {
                    m_fast[index] = static_cast<uint16_t>((bits << 9) | s);
                }
            }
        }
        return true;
    }

    // The next symbol, or -1 for bits that are no code.
    int Decode(BitReader& reader) const
    {
        const uint16_t entry = m_fast[reader.Peek(kFastBits)];
        if (entry != 0) {
            reader.Drop(entry >> 9);
            return entry & 0x1FF;
        }
        const uint32_t bits = reader.Peek(kMaxBits);
        int code = 0;
        int first = 0;
        int index = 0;
        for (int length = 1; length <= kMaxBits; ++length) {
            code |= static_cast<int>((bits >> (length - 1)) & 1);
            const int count = m_counts[length];
            if (code - first < count) {
                reader.Drop(length);
                return m_sorted[static_cast<size_t>(index + code - first)];
            }
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        return -1;
    }

private:
    static constexpr int kFastBits = 10;
    std::array<uint16_t, 1 << kFastBits> m_fast{};
    std::array<int, kMaxBits + 1> m_counts{};
    std::vector<uint16_t> m_sorted;
};

// Inflates a raw deflate stream into exactly `size` bytes at `out`.
class Inflater {
public:
    Inflater(BitReader& reader, BYTE* out, size_t size) : m_in(reader), m_out(out), m_size(size) {}

    bool Run()
    {
        bool last = false;
        while (!last) {
            last = m_in.Take(1) != 0;
            const uint32_t type = m_in.Take(2);
            bool ok = false;
            if (type == 0) {
                ok = Stored();
            } else if (type == 1) {
                ok = FixedBlock();
            } else if (type == 2) {
                ok = DynamicBlock();
            }
            if (!ok || m_in.Overrun()) {
                return false;
            }
        }
        return m_written == m_size;
    }

private:
    bool Stored()
    {
        m_in.AlignToByte();
        const uint32_t length = m_in.Take(16);
        const uint32_t inverse = m_in.Take(16);
        if (m_in.Overrun() || (length ^ 0xFFFF) != inverse) {
            return false;
        }
        const BYTE* from = m_in.BytePosition();
        if (static_cast<size_t>(m_in.End() - from) < length || m_size - m_written < length) {
            return false;
        }
        std::memcpy(m_out + m_written, from, length);
        m_written += length;
        m_in.SkipTo(from + length);
        return true;
    }

    bool FixedBlock()
    {
        static const std::pair<HuffmanCode, HuffmanCode> codes = [] {
            std::pair<HuffmanCode, HuffmanCode> built;
            uint8_t lengths[288];
            std::memset(lengths, 8, 144);
            std::memset(lengths + 144, 9, 112);
            std::memset(lengths + 256, 7, 24);
            std::memset(lengths + 280, 8, 8);
            built.first.Build(lengths, 288);
            uint8_t distances[30];
            std::memset(distances, 5, sizeof distances);
            built.second.Build(distances, 30);
            return built;
        }();
        return Codes(codes.first, codes.second);
    }

    bool DynamicBlock()
    {
        const int literals = static_cast<int>(m_in.Take(5)) + 257;
        const int distances = static_cast<int>(m_in.Take(5)) + 1;
        const int lengthCodes = static_cast<int>(m_in.Take(4)) + 4;
        if (literals > 286 || distances > 30) {
            return false;
        }
        static const uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
        uint8_t codeLengths[19] = {};
        for (int i = 0; i < lengthCodes; ++i) {
            codeLengths[kOrder[i]] = static_cast<uint8_t>(m_in.Take(3));
        }
        HuffmanCode lengthCode;
        if (!lengthCode.Build(codeLengths, 19)) {
            return false;
        }
        uint8_t lengths[286 + 30] = {};
        int filled = 0;
        while (filled < literals + distances) {
            const int symbol = lengthCode.Decode(m_in);
            if (symbol < 0 || m_in.Overrun()) {
                return false;
            }
            if (symbol < 16) {
                lengths[filled++] = static_cast<uint8_t>(symbol);
                continue;
            }
            uint8_t value = 0;
            int repeat = 0;
            if (symbol == 16) {
                if (filled == 0) {
                    return false;
                }
                value = lengths[filled - 1];
                repeat = 3 + static_cast<int>(m_in.Take(2));
            } else if (symbol == 17) {
                repeat = 3 + static_cast<int>(m_in.Take(3));
            } else {
                repeat = 11 + static_cast<int>(m_in.Take(7));
            }
            if (filled + repeat > literals + distances) {
                return false;
            }
            std::memset(lengths + filled, value, static_cast<size_t>(repeat));
            filled += repeat;
        }
        if (lengths[256] == 0) {
            return false;  // no end of block
        }
        HuffmanCode literalCode;
        HuffmanCode distanceCode;
        return literalCode.Build(lengths, literals) && distanceCode.Build(lengths + literals, distances) &&
               Codes(literalCode, distanceCode);
    }

    bool Codes(const HuffmanCode& literalCode, const HuffmanCode& distanceCode)
    {
        static const uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static const uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        static const uint16_t kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                                   33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                                   1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
        static const uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                   6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
        for (;;) {
            const int symbol = literalCode.Decode(m_in);
            if (symbol < 0 || m_in.Overrun()) {
                return false;
            }
            if (symbol < 256) {
                if (m_written == m_size) {
                    return false;
                }
                m_out[m_written++] = static_cast<BYTE>(symbol);
                continue;
            }
            if (symbol == 256) {
                return true;
            }
            const int lengthIndex = symbol - 257;
            if (lengthIndex >= 29) {
                return false;
            }
            const size_t length = kLengthBase[lengthIndex] + m_in.Take(kLengthExtra[lengthIndex]);
            const int distanceIndex = distanceCode.Decode(m_in);
            if (distanceIndex < 0 || distanceIndex >= 30) {
                return false;
            }
            const size_t distance = kDistanceBase[distanceIndex] + m_in.Take(kDistanceExtra[distanceIndex]);
            if (distance > m_written || length > m_size - m_written) {
                return false;
            }
            CopyMatch(m_out + m_written, distance, length);
            m_written += length;
        }
    }

    // A copy may overlap what it writes: it repeats the last `distance` bytes.
    static void CopyMatch(BYTE* to, size_t distance, size_t length)
    {
        const BYTE* from = to - distance;
        if (distance == 1) {
            std::memset(to, *from, length);
        } else if (distance >= 8) {
            // Eight bytes at a time never read what this step writes.
            size_t i = 0;
            for (; i + 8 <= length; i += 8) {
                std::memcpy(to + i, from + i, 8);
            }
            for (; i < length; ++i) {
                to[i] = from[i];
            }
        } else {
            for (size_t i = 0; i < length; ++i) {
                to[i] = from[i];
            }
        }
    }

    BitReader& m_in;
    BYTE* m_out;
    size_t m_size;
    size_t m_written = 0;
};

// A zlib stream (RFC 1950) inflated into exactly `size` bytes, its check sum verified.
bool InflateZlib(const std::vector<BYTE>& stream, BYTE* out, size_t size)
{
    if (stream.size() < 6) {
        return false;
    }
    const BYTE method = stream[0];
    const BYTE flags = stream[1];
    if ((method & 0x0F) != 8 || (method >> 4) > 7 || ((method << 8) | flags) % 31 != 0 || (flags & 0x20)) {
        return false;
    }
    BitReader reader(stream.data() + 2, stream.size() - 2);
    Inflater inflater(reader, out, size);
    if (!inflater.Run()) {
        return false;
    }
    reader.AlignToByte();
    const BYTE* sum = reader.BytePosition();
    return reader.End() - sum >= 4 && ReadBigEndian(sum) == Adler32(out, size);
}

struct Header {
    uint32_t width = 0;
    uint32_t height = 0;
    int channels = 0;  // 3 for RGB, 4 for RGBA
};

bool ReadHeader(const BYTE* data, uint32_t length, Header* header)
{
    if (length != 13) {
        return false;
    }
    header->width = ReadBigEndian(data);
    header->height = ReadBigEndian(data + 4);
    const BYTE depth = data[8];
    const BYTE colour = data[9];
    const bool plain = data[10] == 0 && data[11] == 0 && data[12] == 0;  // deflate, adaptive filters, no interlace
    if (header->width == 0 || header->height == 0 || header->width > kMaxSide || header->height > kMaxSide ||
        depth != 8 || !plain || (colour != 2 && colour != 6)) {
        return false;
    }
    header->channels = colour == 6 ? 4 : 3;
    return true;
}

// Chunks that change nothing in the pixels; any other one (gamma, colour profile,
// transparency, ...) is left to GDI+, which knows what to make of it.
bool IsPlainAncillary(const BYTE* type)
{
    for (const char* known : {"tEXt", "zTXt", "iTXt", "tIME", "pHYs"}) {
        if (std::memcmp(type, known, 4) == 0) {
            return true;
        }
    }
    return false;
}

// The header and the concatenated image data; false at the first chunk that is damaged,
// unknown or out of place.
bool ReadChunks(const BYTE* data, size_t size, Header* header, std::vector<BYTE>* stream)
{
    static const BYTE kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 || std::memcmp(data, kSignature, 8) != 0) {
        return false;
    }
    size_t at = 8;
    bool headerSeen = false;
    while (size - at >= 12) {
        const uint32_t length = ReadBigEndian(data + at);
        const BYTE* type = data + at + 4;
        if (length > size - at - 12) {
            return false;
        }
        const BYTE* body = type + 4;
        if (ReadBigEndian(body + length) != Crc32(type, length + 4)) {
            return false;
        }
        at += 12 + size_t{length};
        if (std::memcmp(type, "IHDR", 4) == 0) {
            if (headerSeen || !ReadHeader(body, length, header)) {
                return false;
            }
            headerSeen = true;
        } else if (!headerSeen) {
            return false;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            stream->insert(stream->end(), body, body + length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            return !stream->empty();
        } else if (std::memcmp(type, "PLTE", 4) != 0 && !IsPlainAncillary(type)) {
            return false;
        }
    }
    return false;
}

BYTE Paeth(int left, int up, int upLeft)
{
    const int estimate = left + up - upLeft;
    const int toLeft = estimate > left ? estimate - left : left - estimate;
    const int toUp = estimate > up ? estimate - up : up - estimate;
    const int toUpLeft = estimate > upLeft ? estimate - upLeft : upLeft - estimate;
    if (toLeft <= toUp && toLeft <= toUpLeft) {
        return static_cast<BYTE>(left);
    }
    return static_cast<BYTE>(toUp <= toUpLeft ? up : upLeft);
}

// Undoes one row's filter in place; `previous` is the row above, unfiltered (zeros for the
// first row).
bool Unfilter(BYTE filter, BYTE* row, const BYTE* previous, size_t length, int pixelBytes)
{
    const size_t step = static_cast<size_t>(pixelBytes);
    switch (filter) {
    case 0:
        return true;
    case 1:
        for (size_t i = step; i < length; ++i) {
            row[i] = static_cast<BYTE>(row[i] + row[i - step]);
        }
        return true;
    case 2:
        for (size_t i = 0; i < length; ++i) {
            row[i] = static_cast<BYTE>(row[i] + previous[i]);
        }
        return true;
    case 3:
        for (size_t i = 0; i < length; ++i) {
            const int left = i >= step ? row[i - step] : 0;
            row[i] = static_cast<BYTE>(row[i] + ((left + previous[i]) >> 1));
        }
        return true;
    case 4:
        for (size_t i = 0; i < length; ++i) {
            const int left = i >= step ? row[i - step] : 0;
            const int upLeft = i >= step ? previous[i - step] : 0;
            row[i] = static_cast<BYTE>(row[i] + Paeth(left, previous[i], upLeft));
        }
        return true;
    default:
        return false;
    }
}

// The pixel layouts rows are written in.
enum class Layout {
    Gdiplus,        // B G R (A), straight alpha, rows padded to 4 bytes
    Premultiplied,  // B G R A, colour premultiplied by alpha, as layered windows take it
};

// A picture's chunks read and its sizes worked out, before any pixel memory is touched.
struct Parsed {
    Header header;
    std::vector<BYTE> stream;
    size_t rowBytes = 0;  // a filtered row: the filter byte and the row's samples
    size_t filtered = 0;  // all filtered rows
    size_t stride = 0;    // an unfiltered row as written
    size_t total = 0;     // the block that holds both in turn
};

bool Parse(const BYTE* data, size_t size, Layout layout, Parsed* parsed)
{
    if (!data || !ReadChunks(data, size, &parsed->header, &parsed->stream)) {
        return false;
    }
    const Header& header = parsed->header;
    if (layout == Layout::Premultiplied && header.channels != 4) {
        return false;
    }
    const size_t width = header.width;
    const size_t height = header.height;
    parsed->rowBytes = 1 + width * static_cast<size_t>(header.channels);
    parsed->filtered = height * parsed->rowBytes;
    // Deflate gives at most about a thousand bytes a compressed byte: a header that promises
    // more than its data can hold is refused before anything is allocated for it.
    if (parsed->filtered / 1032 > parsed->stream.size()) {
        return false;
    }
    parsed->stride = (width * static_cast<size_t>(header.channels) + 3) & ~size_t{3};
    parsed->total = height * parsed->stride > parsed->filtered ? height * parsed->stride : parsed->filtered;
    return true;
}

// Inflates the filtered rows into the end of `block` (parsed.total bytes) and writes each
// row, once read, at its place from the block's start; no row is overwritten before it is
// read, so one block serves both.
bool DecodeInto(const Parsed& parsed, Layout layout, BYTE* block)
{
    const Header& header = parsed.header;
    const size_t width = header.width;
    BYTE* const rows = block + (parsed.total - parsed.filtered);
    if (!InflateZlib(parsed.stream, rows, parsed.filtered)) {
        return false;
    }
    const size_t lineBytes = parsed.rowBytes - 1;
    std::vector<BYTE> previous(lineBytes, 0);
    std::vector<BYTE> current(lineBytes);
    for (size_t y = 0; y < header.height; ++y) {
        const BYTE* source = rows + y * parsed.rowBytes;
        std::memcpy(current.data(), source + 1, lineBytes);
        if (!Unfilter(source[0], current.data(), previous.data(), lineBytes, header.channels)) {
            return false;
        }
        BYTE* target = block + y * parsed.stride;
        const BYTE* pixel = current.data();
        // Red and blue change places: both layouts keep pixels as B G R (A).
        if (layout == Layout::Premultiplied) {
            for (size_t x = 0; x < width; ++x, pixel += 4, target += 4) {
                const DWORD argb =
                    (DWORD{pixel[3]} << 24) | (DWORD{pixel[0]} << 16) | (DWORD{pixel[1]} << 8) | pixel[2];
                const DWORD premultiplied = PremultipliedArgb(argb);
                std::memcpy(target, &premultiplied, 4);
            }
        } else if (header.channels == 4) {
            for (size_t x = 0; x < width; ++x, pixel += 4, target += 4) {
                target[0] = pixel[2];
                target[1] = pixel[1];
                target[2] = pixel[0];
                target[3] = pixel[3];
            }
        } else {
            for (size_t x = 0; x < width; ++x, pixel += 3, target += 3) {
                target[0] = pixel[2];
                target[1] = pixel[1];
                target[2] = pixel[0];
            }
        }
        std::memset(target, 0, parsed.stride - width * static_cast<size_t>(header.channels));
        previous.swap(current);
    }
    return true;
}

}  // namespace

bool DecodePng(const BYTE* data, size_t size, DecodedPng* out)
{
    Parsed parsed;
    if (!Parse(data, size, Layout::Gdiplus, &parsed)) {
        return false;
    }
    std::unique_ptr<BYTE[]> pixels(new (std::nothrow) BYTE[parsed.total]);
    if (!pixels || !DecodeInto(parsed, Layout::Gdiplus, pixels.get())) {
        return false;
    }
    out->width = static_cast<int>(parsed.header.width);
    out->height = static_cast<int>(parsed.header.height);
    out->stride = static_cast<int>(parsed.stride);
    out->alpha = parsed.header.channels == 4;
    out->pixels = std::move(pixels);
    return true;
}

size_t PremultipliedPngBlockBytes(int width, int height)
{
    if (width <= 0 || height <= 0) {
        return 0;
    }
    // The filtered rows, a filter byte more than the pixels for every row.
    return static_cast<size_t>(height) * (1 + static_cast<size_t>(width) * 4);
}

bool DecodePngPremultiplied(const BYTE* data, size_t size, int width, int height, BYTE* block, size_t blockBytes)
{
    Parsed parsed;
    if (!block || !Parse(data, size, Layout::Premultiplied, &parsed) ||
        parsed.header.width != static_cast<uint32_t>(width) || parsed.header.height != static_cast<uint32_t>(height) ||
        blockBytes < parsed.total) {
        return false;
    }
    if (!DecodeInto(parsed, Layout::Premultiplied, block)) {
        std::memset(block, 0, parsed.total);
        return false;
    }
    // Nothing of the working rows is left past the pixels.
    const size_t pixelBytes = static_cast<size_t>(height) * parsed.stride;
    std::memset(block + pixelBytes, 0, parsed.total - pixelBytes);
    return true;
}
