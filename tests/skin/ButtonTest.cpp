// The image buttons on real windows: their state machine, the hit inset of the feature
// button, enabling from another thread, the looks they paint, and the platform's own look,
// which never shows.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "tests/skin/ControlsTestDialog.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Tool.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

POINT ScreenPoint(HWND window, int x, int y)
{
    POINT pt{x, y};
    ::ClientToScreen(window, &pt);
    return pt;
}

int DifferingPixels(const ClientPixels& a, const ClientPixels& b)
{
    int differing = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            differing += a.At(x, y) != b.At(x, y) ? 1 : 0;
        }
    }
    return differing;
}

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A window that opens under the pointer takes a hover look at once; each test starts
        // from the normal look, whatever an earlier test left the pointer over.
        ASSERT_TRUE(ParkPointer());
        ASSERT_TRUE(dialog.Open());
        ASSERT_TRUE(LoadPngResource(&panelPicture, kPanelPicture));
        dialog.png.MoveWindow(10, 10, 26, 34);
        dialog.png.SetImages(IDP_PANEL_CLOSE_NORMAL, IDP_PANEL_CLOSE_HOVER, IDP_PANEL_CLOSE_PRESSED,
                            IDP_PANEL_CLOSE_DISABLED);
        dialog.png.SetStretch(TRUE);

        // The main panel's repair button over its slice of the panel's picture.
        dialog.feature.MoveWindow(10, 60, 284, 85);
        dialog.feature.SetBackgroundImage(panelPicture.get());
        dialog.feature.SetBackgroundRect(58, 260, 342, 345);
        dialog.feature.SetHitInset(19, 19, 19, 19);
        dialog.feature.SetStretch(TRUE);
        dialog.feature.SetImages(kRepairNormalImage, kRepairHoverImage, kRepairPressedImage, kRepairDisabledImage);
        PumpFor(30);
    }
    void TearDown() override
    {
        dialog.png.ReleaseImages();
        dialog.feature.ReleaseImages();
        dialog.DestroyWindow();
    }

    int HitTest(CWnd& button, POINT screen) { return static_cast<int>(button.SendMessage(WM_NCHITTEST, 0, PointParam(screen))); }
    void Press(CWnd& button, POINT client) { button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(client)); }
    void Release(CWnd& button, POINT client) { button.SendMessage(WM_LBUTTONUP, 0, PointParam(client)); }

    // The panel's picture, which the feature button borrows.
    PngImagePtr panelPicture;

    // Whether the button shows `image` over the panel's picture at (58, 260) (feature button).
    void ExpectFeatureLook(UINT imageId, const char* what)
    {
        SCOPED_TRACE(what);
        const Image face = ResourcePng(imageId);
        const Image other = ResourcePng(imageId == kRepairNormalImage ? kRepairDisabledImage : kRepairNormalImage);
        const Image panel = ResourcePng(kPanelPicture);
        ClientPixels shown(dialog.feature.m_hWnd);
        ASSERT_EQ(shown.Width(), 284);
        int compared = 0;
        int distinguishing = 0;
        for (int y = 0; y < 85; y += 3) {
            for (int x = 0; x < 284; x += 3) {
                const COLORREF ground = Opaque(panel.At(58 + x, 260 + y));
                const COLORREF expected = Over(face.At(x, y), ground);
                const COLORREF wrong = Over(other.At(x, y), ground);
                ASSERT_LE(ColourDistance(shown.At(x, y), expected), 10) << "at " << x << "," << y;
                ++compared;
                distinguishing += ColourDistance(expected, wrong) > 40 ? 1 : 0;
            }
        }
        EXPECT_GT(distinguishing, compared / 20) << "the check must tell the looks apart";
    }

    ControlsTestDialog dialog;
};

}  // namespace

TEST_F(ButtonTest, PngButtonHoverPressReleaseAndClick)
{
    CPngButton& button = dialog.png;
    const POINT inside = ScreenPoint(button.m_hWnd, 13, 17);
    const POINT outside = ScreenPoint(button.m_hWnd, 100, 17);
    EXPECT_EQ(button.GetState(), kButtonNormal);

    HitTest(button, inside);
    EXPECT_EQ(button.GetState(), kButtonHover);
    button.RefreshHover(outside.x, outside.y);
    EXPECT_EQ(button.GetState(), kButtonNormal) << "the owner's hover upkeep drops the hover look";

    HitTest(button, inside);
    Press(button, POINT{13, 17});
    EXPECT_EQ(button.GetState(), kButtonPressed);
    Release(button, POINT{13, 17});
    EXPECT_EQ(button.GetState(), kButtonHover);
    PumpFor(20);
    EXPECT_EQ(dialog.clicks, std::vector<int>{IDC_TEST_PNG}) << "the platform button still reports the click";
}

TEST_F(ButtonTest, PngButtonReleasedOutsideStaysPressedUntilHoverUpkeep)
{
    CPngButton& button = dialog.png;
    Press(button, POINT{13, 17});
    Release(button, POINT{-20, 17});
    EXPECT_EQ(button.GetState(), kButtonPressed);
    PumpFor(20);
    EXPECT_TRUE(dialog.clicks.empty()) << "a release outside is no click";

    const POINT inside = ScreenPoint(button.m_hWnd, 13, 17);
    button.RefreshHover(inside.x, inside.y);
    EXPECT_EQ(button.GetState(), kButtonPressed);
    const POINT outside = ScreenPoint(button.m_hWnd, 13, 60);
    button.RefreshHover(outside.x, outside.y);
    EXPECT_EQ(button.GetState(), kButtonNormal);
}

TEST_F(ButtonTest, PngButtonPaintsTheImageOfItsState)
{
    CPngButton& button = dialog.png;
    const int probeX = 13;
    const int probeY = 17;
    auto expectLook = [&](UINT id) {
        const Image look = ResourcePng(id);
        const ClientPixels shown(button.m_hWnd);
        EXPECT_LE(ColourDistance(shown.At(probeX, probeY), Opaque(look.At(probeX, probeY))), 12) << "image " << id;
    };
    // The probe must tell the four looks apart.
    const Image normal = ResourcePng(IDP_PANEL_CLOSE_NORMAL);
    const Image disabled = ResourcePng(IDP_PANEL_CLOSE_DISABLED);
    ASSERT_GT(ColourDistance(Opaque(normal.At(probeX, probeY)), Opaque(disabled.At(probeX, probeY))), 20);

    expectLook(141);
    HitTest(button, ScreenPoint(button.m_hWnd, probeX, probeY));
    expectLook(142);
    button.EnableWindow(FALSE);
    HitTest(button, ScreenPoint(button.m_hWnd, probeX, probeY));
    EXPECT_EQ(button.GetState(), kButtonDisabled);
    expectLook(144);
    button.RefreshHover(0, 0);
    EXPECT_EQ(button.GetState(), kButtonDisabled) << "a disabled button ignores hover";
}

TEST_F(ButtonTest, FeatureButtonGlowMarginClicksWithoutThePressedLook)
{
    CFeaturePngButton& button = dialog.feature;
    // (5, 5) lies in the glow, outside the 19-pixel inset.
    HitTest(button, ScreenPoint(button.m_hWnd, 5, 5));
    EXPECT_EQ(button.GetState(), kButtonNormal) << "the glow is not sensitive to hover";
    Press(button, POINT{5, 5});
    EXPECT_EQ(button.GetState(), kButtonNormal);
    Release(button, POINT{5, 5});
    EXPECT_EQ(button.GetState(), kButtonNormal);
    PumpFor(20);
    EXPECT_EQ(dialog.clicks, std::vector<int>{IDC_TEST_FEATURE});

    HitTest(button, ScreenPoint(button.m_hWnd, 142, 42));
    EXPECT_EQ(button.GetState(), kButtonHover);
    Press(button, POINT{142, 42});
    EXPECT_EQ(button.GetState(), kButtonPressed);
    Release(button, POINT{142, 42});
    EXPECT_EQ(button.GetState(), kButtonHover);
    // Leaving for the glow margin counts as leaving.
    HitTest(button, ScreenPoint(button.m_hWnd, 5, 42));
    EXPECT_EQ(button.GetState(), kButtonNormal);
    HitTest(button, ScreenPoint(button.m_hWnd, 142, 42));
    const POINT away = ScreenPoint(button.m_hWnd, 142, 200);
    button.RefreshHover(away.x, away.y);
    EXPECT_EQ(button.GetState(), kButtonNormal);
}

TEST_F(ButtonTest, FeatureButtonDisabledFromAnotherThreadShowsItsFourthImageOverTheSlice)
{
    CFeaturePngButton& button = dialog.feature;
    ExpectFeatureLook(kRepairNormalImage, "normal");

    // EnableWindow from the worker waits for this thread to handle WM_ENABLE: keep pumping.
    std::atomic<bool> done{false};
    std::thread worker([&button, &done] {
        button.EnableButton(FALSE);
        done = true;
    });
    PumpUntil([&] { return done.load(); }, 5000);
    worker.join();
    PumpFor(20);
    EXPECT_EQ(button.GetState(), kButtonDisabled);
    EXPECT_FALSE(button.IsWindowEnabled());
    ExpectFeatureLook(kRepairDisabledImage, "disabled");

    HitTest(button, ScreenPoint(button.m_hWnd, 142, 42));
    EXPECT_EQ(button.GetState(), kButtonDisabled) << "no hover while disabled";

    button.EnableButton(TRUE);
    EXPECT_EQ(button.GetState(), kButtonNormal);
    EXPECT_TRUE(button.IsWindowEnabled());
    ExpectFeatureLook(kRepairNormalImage, "enabled again");
}

TEST_F(ButtonTest, MissingOrDamagedImagesPaintOnlyTheGroundAndStillClick)
{
    CPngButton& button = dialog.png;
    EXPECT_FALSE(button.SetImages(IDP_PANEL_CLOSE_NORMAL, IDP_PANEL_CLOSE_HOVER, IDP_PANEL_CLOSE_PRESSED, IDP_MISSING_PNG));
    button.Invalidate(TRUE);
    ClientPixels shown(button.m_hWnd);
    EXPECT_EQ(shown.Count([](COLORREF c) { return c != RGB(255, 255, 255); }), 0) << "white ground only";

    CFeaturePngButton& feature = dialog.feature;
    PngImagePtr damaged;
    ASSERT_TRUE(LoadPngResource(&damaged, IDP_DAMAGED_PNG));
    feature.SetBackgroundImage(damaged.get());
    feature.Invalidate(TRUE);
    ClientPixels featureShown(feature.m_hWnd);
    EXPECT_EQ(featureShown.Width(), 284);

    Press(button, POINT{13, 17});
    Release(button, POINT{13, 17});
    Press(feature, POINT{142, 42});
    Release(feature, POINT{142, 42});
    PumpFor(20);
    EXPECT_EQ(dialog.clicks, (std::vector<int>{IDC_TEST_PNG, IDC_TEST_FEATURE}));
}

// The platform button draws its face with its name at once on these changes, outside any
// paint of ours; none of it may show between our paints, where the pictures are.
TEST_F(ButtonTest, ThePlatformsFaceAndTheNameNeverShowOverThePictures)
{
    dialog.png.SetWindowText(L"关闭");
    dialog.feature.SetWindowText(L"一键修复");
    PumpFor(30);
    struct Change {
        const char* name;
        std::function<void(CWnd&)> apply;
    };
    const Change changes[] = {
        {"renamed", [](CWnd& b) { b.SetWindowText(L"最小化"); }},
        {"focused", [](CWnd& b) { ::SetFocus(b.m_hWnd); }},
        {"pushed", [](CWnd& b) { b.SendMessage(BM_SETSTATE, TRUE); }},
        {"released", [](CWnd& b) { b.SendMessage(BM_SETSTATE, FALSE); }},
        {"focus lost", [this](CWnd&) { ::SetFocus(dialog.m_hWnd); }},
        {"disabled", [](CWnd& b) { b.EnableWindow(FALSE); }},
        {"enabled", [](CWnd& b) { b.EnableWindow(TRUE); }},
    };
    for (CWnd* button : {static_cast<CWnd*>(&dialog.png), static_cast<CWnd*>(&dialog.feature),
                         static_cast<CWnd*>(&dialog.check)}) {
        for (const Change& change : changes) {
            SCOPED_TRACE(std::string(change.name) + " control " + std::to_string(::GetDlgCtrlID(button->m_hWnd)));
            const ClientPixels before(button->m_hWnd);
            change.apply(*button);
            // Our repaint is due and dropped: only what was drawn at once is left.
            ::ValidateRect(button->m_hWnd, nullptr);
            const ClientPixels after(button->m_hWnd);
            EXPECT_EQ(0, DifferingPixels(before, after));
        }
    }
}
