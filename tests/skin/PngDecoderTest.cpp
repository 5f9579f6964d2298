// The skin's own PNG decoder: against GDI+ on every picture of the program, on each kind of
// compressed block and row filter, and on damaged data and data of other kinds, which it
// refuses (the loader then leaves them to GDI+).
#include <gtest/gtest.h>

#include <objidl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "controls/PngDecoder.h"
#include "controls/PngImage.h"
#include "tests/support/ScreenImage.h"

using namespace testsupport;

namespace {

// 5 x 5 pictures whose rows use the five row filters in turn, made with zlib: stored blocks
// over two image data chunks (RGBA), and one block of the fixed code (RGB).
const BYTE kStoredRgba[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x05, 0x08, 0x06, 0x00, 0x00, 0x00, 0x8D, 0x6F, 0x26,
    0xE5, 0x00, 0x00, 0x00, 0x14, 0x49, 0x44, 0x41, 0x54, 0x78, 0x01, 0x01, 0x69, 0x00, 0x96, 0xFF,
    0x00, 0x00, 0x00, 0x00, 0xFF, 0x35, 0x11, 0x07, 0xD7, 0x6A, 0x22, 0x1C, 0xAF, 0x60, 0x03, 0xC5,
    0xAD, 0x00, 0x00, 0x00, 0x60, 0x49, 0x44, 0x41, 0x54, 0x9F, 0x33, 0x3F, 0x87, 0xD4, 0x44, 0x70,
    0x5F, 0x01, 0x1D, 0x47, 0x03, 0xF6, 0x35, 0x0F, 0x07, 0xD8, 0x35, 0x0F, 0x15, 0xD8, 0x35, 0x0F,
    0x23, 0xD8, 0x35, 0x8F, 0x31, 0xD8, 0x02, 0x1D, 0x47, 0x03, 0xF7, 0x1D, 0x49, 0x03, 0xF7, 0x1D,
    0x47, 0x03, 0xF7, 0x1D, 0x49, 0x03, 0xF7, 0x1D, 0xC7, 0x03, 0xF7, 0x03, 0x3A, 0x8E, 0x06, 0x6E,
    0x29, 0x0A, 0x05, 0xE8, 0x29, 0x3F, 0x0C, 0xE8, 0x29, 0x0C, 0x13, 0xE8, 0xA9, 0xB9, 0x1A, 0xE8,
    0x04, 0x1D, 0x47, 0x03, 0xF7, 0x1D, 0xF1, 0x03, 0xF7, 0x1D, 0x31, 0x03, 0xF7, 0x1D, 0xF1, 0x03,
    0xF7, 0x35, 0x29, 0x03, 0xF7, 0x11, 0xF5, 0x24, 0x75, 0x49, 0xE9, 0x01, 0xE2, 0x00, 0x00, 0x00,
    0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82,
};

const BYTE kFixedRgb[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x05, 0x08, 0x02, 0x00, 0x00, 0x00, 0x02, 0x0D, 0xB1,
    0xB2, 0x00, 0x00, 0x00, 0x4D, 0x49, 0x44, 0x41, 0x54, 0x78, 0x01, 0x63, 0x60, 0x60, 0x60, 0x30,
    0x15, 0x64, 0xCF, 0x52, 0x92, 0x99, 0x6F, 0x6C, 0x7F, 0xC5, 0xA5, 0x80, 0x51, 0xD6, 0x9D, 0xD9,
    0x94, 0x9F, 0xDD, 0x94, 0x5F, 0xD4, 0x94, 0x5F, 0xD9, 0xB4, 0xDF, 0x90, 0x09, 0xC8, 0x97, 0xF5,
    0x64, 0x86, 0x92, 0xC7, 0x99, 0x99, 0xAD, 0xFA, 0xD8, 0x34, 0xB9, 0x58, 0x35, 0xED, 0x79, 0x34,
    0x79, 0x84, 0x57, 0xEE, 0x94, 0x62, 0x01, 0xC9, 0x7C, 0x64, 0x96, 0x35, 0x04, 0x91, 0xA6, 0x9A,
    0xCC, 0x00, 0x42, 0x96, 0x0F, 0x00, 0x90, 0x54, 0x6B, 0xB3, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45,
    0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82,
};

// The generator's pixels, 0xAARRGGBB.
DWORD ExpectedPixel(int x, int y)
{
    const DWORD red = static_cast<DWORD>((x * 53 + y * 29) & 0xFF);
    const DWORD green = static_cast<DWORD>((x * 17 ^ y * 71) & 0xFF);
    const DWORD blue = static_cast<DWORD>((x * x * 7 + y * 3) & 0xFF);
    const DWORD alpha = static_cast<DWORD>(255 - x * 40 - y * 9);
    return (alpha << 24) | (red << 16) | (green << 8) | blue;
}

// A decoded pixel as 0xAARRGGBB (opaque without alpha).
DWORD PixelAt(const DecodedPng& png, int x, int y)
{
    const BYTE* p = png.pixels.get() + static_cast<size_t>(y) * static_cast<size_t>(png.stride) +
                    static_cast<size_t>(x) * (png.alpha ? 4u : 3u);
    const DWORD alpha = png.alpha ? p[3] : 0xFFu;
    return (alpha << 24) | (DWORD{p[2]} << 16) | (DWORD{p[1]} << 8) | p[0];
}

bool Decodes(const std::string& bytes, DecodedPng* out)
{
    return DecodePng(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), out);
}

// The pixel format GDI+ decodes the data to.
Gdiplus::PixelFormat GdiplusFormat(const std::string& bytes)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_FIXED, bytes.size());
    if (!block) {
        return PixelFormatUndefined;
    }
    std::memcpy(block, bytes.data(), bytes.size());
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream))) {
        ::GlobalFree(block);
        return PixelFormatUndefined;
    }
    Gdiplus::PixelFormat format = PixelFormatUndefined;
    {
        Gdiplus::Bitmap bitmap(stream, FALSE);
        if (bitmap.GetLastStatus() == Gdiplus::Ok) {
            format = bitmap.GetPixelFormat();
        }
    }
    stream->Release();
    return format;
}

uint32_t Crc(const std::string& bytes, size_t from, size_t length)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < from + length; ++i) {
        crc ^= static_cast<BYTE>(bytes[i]);
        for (int k = 0; k < 8; ++k) {
            crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        }
    }
    return crc ^ 0xFFFFFFFFu;
}

void PutBigEndian(std::string& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<size_t>(i)] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
    }
}

// The header chunk changed at `offset` (from the start of its data) and its check sum made
// right again, so that only the decoder's own judgement refuses it.
std::string WithHeaderByte(std::string bytes, size_t offset, BYTE value)
{
    bytes[16 + offset] = static_cast<char>(value);
    PutBigEndian(bytes, 29, Crc(bytes, 12, 17));
    return bytes;
}

// A chunk of `type` put right after the header chunk.
std::string WithChunkAfterHeader(const std::string& bytes, const char* type, const std::string& body)
{
    std::string chunk(4, '\0');
    PutBigEndian(chunk, 0, static_cast<uint32_t>(body.size()));
    chunk += std::string(type, 4) + body + std::string(4, '\0');
    PutBigEndian(chunk, chunk.size() - 4, Crc(chunk, 4, body.size() + 4));
    std::string result = bytes;
    result.insert(33, chunk);
    return result;
}

}  // namespace

TEST(PngDecoder, EverySkinPictureDecodesToWhatGdiplusDecodesItTo)
{
    int pictures = 0;
    for (UINT id = 138; id <= 200; ++id) {
        const std::string bytes = ResourceBytes(id, L"PNG");
        if (bytes.empty()) {
            continue;
        }
        SCOPED_TRACE("PNG " + std::to_string(id));
        ++pictures;
        DecodedPng decoded;
        ASSERT_TRUE(Decodes(bytes, &decoded));
        const Image reference = ResourcePng(id);
        ASSERT_EQ(reference.width, decoded.width);
        ASSERT_EQ(reference.height, decoded.height);
        EXPECT_EQ(GdiplusFormat(bytes), decoded.alpha ? PixelFormat32bppARGB : PixelFormat24bppRGB);
        EXPECT_EQ(0, decoded.stride % 4);
        int differing = 0;
        for (int y = 0; y < decoded.height; ++y) {
            for (int x = 0; x < decoded.width; ++x) {
                differing += PixelAt(decoded, x, y) != reference.At(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(0, differing) << "of " << decoded.width * decoded.height << " pixels";
    }
    EXPECT_GE(pictures, 50) << "the program's pictures were not found";
}

TEST(PngDecoder, StoredAndFixedCodeBlocksAndEveryRowFilterDecode)
{
    const struct {
        const char* name;
        const BYTE* data;
        size_t size;
        bool alpha;
    } cases[] = {
        {"stored blocks over two chunks, RGBA", kStoredRgba, sizeof kStoredRgba, true},
        {"fixed code, RGB", kFixedRgb, sizeof kFixedRgb, false},
    };
    for (const auto& png : cases) {
        SCOPED_TRACE(png.name);
        DecodedPng decoded;
        ASSERT_TRUE(DecodePng(png.data, png.size, &decoded));
        ASSERT_EQ(5, decoded.width);
        ASSERT_EQ(5, decoded.height);
        EXPECT_EQ(png.alpha, decoded.alpha);
        EXPECT_EQ(png.alpha ? 20 : 16, decoded.stride);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 5; ++x) {
                const DWORD expected = png.alpha ? ExpectedPixel(x, y) : ExpectedPixel(x, y) | 0xFF000000u;
                EXPECT_EQ(expected, PixelAt(decoded, x, y)) << "at " << x << ", " << y;
            }
        }
    }
    // The same rows straight into a layered surface, premultiplied, with nothing left past
    // the pixels.
    std::vector<BYTE> block(PremultipliedPngBlockBytes(5, 5), 0);
    ASSERT_GT(block.size(), 5u * 5u * 4u);
    ASSERT_TRUE(DecodePngPremultiplied(kStoredRgba, sizeof kStoredRgba, 5, 5, block.data(), block.size()));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            DWORD shown;
            std::memcpy(&shown, block.data() + (y * 5 + x) * 4, 4);
            EXPECT_EQ(PremultipliedArgb(ExpectedPixel(x, y)), shown) << "at " << x << ", " << y;
        }
    }
    EXPECT_TRUE(std::all_of(block.begin() + 5 * 5 * 4, block.end(), [](BYTE b) { return b == 0; }));
}

TEST(PngDecoder, DamagedDataAndOtherKindsAreRefused)
{
    const std::string intact = ResourceBytes(140, L"PNG");  // 48 x 16, RGBA
    ASSERT_GT(intact.size(), 60u);
    DecodedPng decoded;
    ASSERT_TRUE(Decodes(intact, &decoded));

    const size_t data = intact.find("IDAT") + 4;
    std::string changedData = intact;
    changedData[data + 10] = static_cast<char>(changedData[data + 10] ^ 0x10);
    // The same change with the chunk's check sum made right: now the stream's own checks
    // (its codes, its length, its check sum) must find it.
    std::string resummed = changedData;
    const uint32_t length = (static_cast<uint32_t>(static_cast<BYTE>(intact[data - 8])) << 24) |
                            (static_cast<uint32_t>(static_cast<BYTE>(intact[data - 7])) << 16) |
                            (static_cast<uint32_t>(static_cast<BYTE>(intact[data - 6])) << 8) |
                            static_cast<BYTE>(intact[data - 5]);
    PutBigEndian(resummed, data + length, Crc(resummed, data - 4, length + 4));

    const struct {
        const char* name;
        std::string bytes;
    } refused[] = {
        {"empty", ""},
        {"a single byte", intact.substr(0, 1)},
        {"cut short in the image data", intact.substr(0, data + 20)},
        {"without its end chunk", intact.substr(0, intact.size() - 12)},
        {"a changed byte of image data", changedData},
        {"a changed byte of image data, its chunk check sum made right", resummed},
        {"a changed signature", "\x88" + intact.substr(1)},
        {"16 bits a channel", WithHeaderByte(intact, 8, 16)},
        {"paletted", WithHeaderByte(intact, 9, 3)},
        {"interlaced", WithHeaderByte(intact, 12, 1)},
        {"30000 pixels wide", WithHeaderByte(WithHeaderByte(intact, 2, 0x75), 3, 0x30)},
        {"with a gamma", WithChunkAfterHeader(intact, "gAMA", std::string("\x00\x00\xB1\x8F", 4))},
        {"with transparency", WithChunkAfterHeader(intact, "tRNS", std::string(6, '\0'))},
    };
    // Straight into a layered surface: refused alike, the surface left as it was, clear.
    std::vector<BYTE> surface(PremultipliedPngBlockBytes(48, 16), 0);
    auto surfaceClear = [&] { return std::all_of(surface.begin(), surface.end(), [](BYTE b) { return b == 0; }); };
    for (const auto& png : refused) {
        SCOPED_TRACE(png.name);
        DecodedPng out;
        EXPECT_FALSE(Decodes(png.bytes, &out));
        EXPECT_EQ(nullptr, out.pixels);
        EXPECT_FALSE(DecodePngPremultiplied(reinterpret_cast<const BYTE*>(png.bytes.data()), png.bytes.size(), 48,
                                            16, surface.data(), surface.size()));
        EXPECT_TRUE(surfaceClear());
    }
    const BYTE* intactData = reinterpret_cast<const BYTE*>(intact.data());
    EXPECT_FALSE(DecodePngPremultiplied(intactData, intact.size(), 47, 16, surface.data(), surface.size()))
        << "another size";
    EXPECT_FALSE(DecodePngPremultiplied(intactData, intact.size(), 48, 16, surface.data(), surface.size() - 1))
        << "a block too small";
    EXPECT_FALSE(DecodePngPremultiplied(kFixedRgb, sizeof kFixedRgb, 5, 5, surface.data(), surface.size()))
        << "no alpha";
    EXPECT_TRUE(surfaceClear());
    // A text chunk changes no pixel and is read past.
    DecodedPng withText;
    EXPECT_TRUE(Decodes(WithChunkAfterHeader(intact, "tEXt", "Comment\0skin"), &withText));
}

// The point of decoding here: the program's pictures load without the system's imaging
// component, a megabyte of libraries the tool would otherwise map at start.
TEST(LoadPngResource, SkinPicturesLoadWithoutTheImagingComponent)
{
    std::vector<PngImagePtr> loaded;
    for (UINT id = 138; id <= 200; ++id) {
        PngImagePtr image;
        if (LoadPngResource(&image, id)) {
            EXPECT_GT(image->Width(), 0) << "PNG " << id;
            loaded.push_back(std::move(image));
        }
    }
    EXPECT_GE(loaded.size(), 50u);
    EXPECT_EQ(nullptr, ::GetModuleHandleW(L"windowscodecs.dll"));
}
