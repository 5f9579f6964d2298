// The image loader on "PNG" resources damaged in the ways a broken build or disk gives: data
// cut short, data changed inside, a header with absurd dimensions, a single byte. Each loads
// as an image that draws nothing, next to an intact image that does.
#include <gtest/gtest.h>

#include "controls/PngImage.h"
#include "tests/badinput/DamagedImageIds.h"
#include "tests/support/PngDrawing.h"

using namespace testsupport;

namespace {

constexpr UINT kIntactImage = 140;  // 48 x 16, what the truncated and corrupt ones come from

// How many pixels of a 16 x 16 white ground the image changes when drawn over it whole.
int PixelsDrawn(const PngImage* image)
{
    int drawn = 0;
    for (COLORREF pixel : DrawnSquare(image, 0, 0)) {
        drawn += pixel != RGB(255, 255, 255) ? 1 : 0;
    }
    return drawn;
}

}  // namespace

TEST(DamagedPng, EachDamageLoadsAsAnImageThatDrawsNothing)
{
    PngImagePtr intact;
    ASSERT_TRUE(LoadPngResource(&intact, kIntactImage));
    ASSERT_GT(PixelsDrawn(intact.get()), 0) << "the intact image must draw, or nothing is shown here";

    const struct {
        const char* name;
        UINT id;
    } damaged[] = {
        {"cut short", IDP_TRUNCATED_PNG},
        {"changed inside", IDP_CORRUPT_PNG},
        {"30000 x 30000 without data", IDP_HUGE_PNG},
        {"a single byte", IDP_ONE_BYTE_PNG},
    };
    for (const auto& image : damaged) {
        SCOPED_TRACE(image.name);
        PngImagePtr loaded;
        ASSERT_TRUE(LoadPngResource(&loaded, image.id)) << "the resource is there, so the load succeeds";
        ASSERT_NE(nullptr, loaded);
        EXPECT_EQ(0, PixelsDrawn(loaded.get()));
        // Loading again gives a second image of its own, as every owner loads its own.
        PngImagePtr again;
        ASSERT_TRUE(LoadPngResource(&again, image.id));
        EXPECT_NE(loaded.get(), again.get());
        EXPECT_EQ(0, PixelsDrawn(again.get()));
    }
}
