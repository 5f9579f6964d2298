// The image resources against the table of the program's skin, and the loader on good,
// missing and damaged resources.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "controls/PngImage.h"
#include "framework/CWinApp.h"
#include "framework/Handles.h"
#include "tests/skin/SkinTestIds.h"
#include "tests/support/PngDrawing.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Tool.h"

using namespace testsupport;

namespace {

enum Pixels { kRgb = 2, kRgba = 6 };

struct ImageRow {
    UINT first;
    UINT last;
    int width;
    int height;
    Pixels pixels;
};

const ImageRow kImageTable[] = {
    {138, 138, 410, 611, kRgba}, {139, 139, 400, 600, kRgb},   {140, 140, 48, 16, kRgba},
    {141, 144, 26, 34, kRgb},    {145, 145, 232, 132, kRgba},  {146, 146, 204, 104, kRgba},
    {147, 150, 26, 34, kRgb},    {151, 151, 330, 150, kRgba},  {152, 152, 320, 140, kRgb},
    {153, 155, 55, 24, kRgb},    {156, 158, 12, 12, kRgb},     {159, 161, 55, 24, kRgb},
    {162, 164, 55, 24, kRgb},    {165, 167, 55, 24, kRgb},     {168, 168, 410, 479, kRgba},
    {169, 169, 400, 468, kRgba}, {170, 173, 12, 12, kRgb},     {179, 182, 266, 60, kRgba},
    {183, 183, 541, 402, kRgba}, {184, 187, 266, 60, kRgba},   {188, 191, 284, 85, kRgba},
    {193, 196, 266, 60, kRgba},  {197, 200, 58, 18, kRgb},
};

const ImageRow* RowOf(UINT id)
{
    for (const ImageRow& row : kImageTable) {
        if (id >= row.first && id <= row.last) {
            return &row;
        }
    }
    return nullptr;
}

DWORD BigEndian(const BYTE* p)
{
    return (DWORD{p[0]} << 24) | (DWORD{p[1]} << 16) | (DWORD{p[2]} << 8) | DWORD{p[3]};
}

// The pixel (x, y) of the image's 16 x 16 source square at (srcX, srcY) drawn over white.
COLORREF DrawnPixel(const PngImage* image, int srcX, int srcY, int x, int y)
{
    return DrawnSquare(image, srcX, srcY)[static_cast<size_t>(y * 16 + x)];
}

}  // namespace

TEST(ImageResources, EveryPngResourceMatchesTheTable)
{
    const BYTE signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    for (UINT id = 138; id <= 200; ++id) {
        SCOPED_TRACE("PNG " + std::to_string(id));
        const std::string png = ResourceBytes(id, L"PNG");
        const ImageRow* row = RowOf(id);
        if (!row) {
            EXPECT_TRUE(png.empty()) << "not a PNG resource";
            continue;
        }
        ASSERT_GE(png.size(), 33u);
        const auto* data = reinterpret_cast<const BYTE*>(png.data());
        EXPECT_EQ(std::memcmp(data, signature, 8), 0);
        EXPECT_EQ(std::memcmp(data + 12, "IHDR", 4), 0);
        EXPECT_EQ(BigEndian(data + 16), static_cast<DWORD>(row->width));
        EXPECT_EQ(BigEndian(data + 20), static_cast<DWORD>(row->height));
        EXPECT_EQ(data[24], 8) << "bit depth";
        EXPECT_EQ(data[25], row->pixels) << "colour type";
    }
}

TEST(ImageResources, ScrollBarSkinIsAnEightBitPalettedBitmap)
{
    const std::string bitmap = ResourceBytes(178, RT_BITMAP);
    ASSERT_GE(bitmap.size(), sizeof(BITMAPINFOHEADER));
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bitmap.data());
    EXPECT_EQ(header->biWidth, 117);
    EXPECT_EQ(std::abs(header->biHeight), 39);
    EXPECT_EQ(header->biBitCount, 8);
    EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
    HBITMAP loaded = ::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(178));
    ASSERT_NE(loaded, nullptr);
    BITMAP info{};
    ::GetObjectW(loaded, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 117);
    EXPECT_EQ(info.bmHeight, 39);
    ::DeleteObject(loaded);
}

TEST(LoadPngResource, DecodesAResourceToItsSizeAndPixels)
{
    PngImagePtr image;
    ASSERT_TRUE(LoadPngResource(&image, IDP_CHECK_MARKS));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Width(), 48);
    EXPECT_EQ(image->Height(), 16);
    // Cell 1 (source x 16 to 31) is the checked mark's blue fill.
    const Image reference = ResourcePng(140);
    const COLORREF drawn = DrawnPixel(image.get(), 16, 0, 8, 3);
    EXPECT_LE(ColourDistance(drawn, Opaque(reference.At(24, 3))), 3);
    EXPECT_GT(ColourDistance(drawn, RGB(255, 255, 255)), 100);
}

TEST(LoadPngResource, MissingResourceLeavesThePointerEmpty)
{
    PngImagePtr image;
    EXPECT_FALSE(LoadPngResource(&image, IDP_MISSING_PNG));
    EXPECT_EQ(image, nullptr);
    EXPECT_FALSE(LoadPngResource(&image, IDB_SCROLL_SKIN)) << "the scroll-bar skin is a BITMAP, not a PNG";
    EXPECT_EQ(image, nullptr);
}

TEST(LoadPngResource, DamagedDataGivesAnImageThatDrawsNothing)
{
    PngImagePtr image;
    ASSERT_TRUE(LoadPngResource(&image, IDP_DAMAGED_PNG));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Width(), 0);
    EXPECT_EQ(DrawnPixel(image.get(), 0, 0, 4, 4), RGB(255, 255, 255));
}

TEST(LoadPngResource, EachLoadOwnsItsOwnCopyOfTheData)
{
    PngImagePtr first;
    PngImagePtr second;
    ASSERT_TRUE(LoadPngResource(&first, IDP_AGREEMENT_BUBBLE));
    ASSERT_TRUE(LoadPngResource(&second, IDP_AGREEMENT_BUBBLE));
    EXPECT_NE(first->Get(), second->Get());
    first.reset();
    // The survivor still draws from its own block: the bubble's grey edge, its white inside.
    EXPECT_LE(ColourDistance(DrawnPixel(second.get(), 0, 0, 0, 0), RGB(206, 210, 218)), 3);
    EXPECT_EQ(DrawnPixel(second.get(), 0, 0, 8, 8), RGB(255, 255, 255));
}

// The panel's background at its own size: the part's pixels land unscaled where asked, nothing
// right of or below the part is written, and a picture with alpha is left to blending.
TEST(CopyPngPart, CopiesAnOpaquePartUnscaledAndRefusesTranslucentPictures)
{
    PngImagePtr panel;
    ASSERT_TRUE(LoadPngResource(&panel, kPanelPicture));
    const Image reference = ResourcePng(kPanelPicture);
    ASSERT_FALSE(reference.Empty());
    const WhiteCanvas canvas(420, 620);
    HDC dc = canvas.Dc();

    // A part narrower and shorter than the picture, at an offset.
    ASSERT_TRUE(CopyPngPart(dc, *panel, 5, 7, 390, 590));
    int differing = 0;
    for (int y = 0; y < 590; y += 7) {
        for (int x = 0; x < 390; x += 5) {
            differing += ColourDistance(::GetPixel(dc, 5 + x, 7 + y), Opaque(reference.At(x, y))) > 2;
        }
    }
    EXPECT_EQ(differing, 0);
    for (int y = 0; y < 620; y += 31) {
        EXPECT_EQ(::GetPixel(dc, 5 + 390, y), RGB(255, 255, 255)) << "right of the part, row " << y;
    }
    for (int x = 0; x < 420; x += 21) {
        EXPECT_EQ(::GetPixel(dc, x, 7 + 590), RGB(255, 255, 255)) << "below the part, column " << x;
    }

    EXPECT_FALSE(CopyPngPart(dc, *panel, 0, 0, 401, 600)) << "wider than the picture";
    PngImagePtr frame;
    ASSERT_TRUE(LoadPngResource(&frame, kMainFramePicture));
    EXPECT_FALSE(CopyPngPart(dc, *frame, 0, 0, 10, 10)) << "the frame's picture has alpha";
    PngImagePtr damaged;
    ASSERT_TRUE(LoadPngResource(&damaged, IDP_DAMAGED_PNG));
    EXPECT_FALSE(CopyPngPart(dc, *damaged, 0, 0, 1, 1));
}

TEST(GetTextWidth, MeasuresInTheWindowsFontOrTheDefaultGuiFont)
{
    HWND plain = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HDC dc = ::GetDC(plain);
    const std::wstring text = L"反馈问题";

    EXPECT_EQ(GetTextWidth(nullptr, dc, text), -1);
    EXPECT_EQ(GetTextWidth(plain, nullptr, text), -1);

    // A static without a font of its own has none to report: the default GUI font measures.
    {
        SelectedObject guiFont(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        SIZE expected{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &expected);
        ::SendMessageW(plain, WM_SETFONT, 0, FALSE);
        EXPECT_EQ(GetTextWidth(plain, dc, text), expected.cx);
    }

    FontHolder large(::CreateFontW(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"宋体"));
    ::SendMessageW(plain, WM_SETFONT, reinterpret_cast<WPARAM>(large.Get()), FALSE);
    const int wide = GetTextWidth(plain, dc, text);
    EXPECT_GE(wide, 4 * 30) << "four characters of a 40-pixel font";
    EXPECT_EQ(GetTextWidth(plain, dc, L""), 0);
    // The context keeps the font it had.
    EXPECT_NE(::GetCurrentObject(dc, OBJ_FONT), large.Get());

    ::ReleaseDC(plain, dc);
    ::DestroyWindow(plain);
}
