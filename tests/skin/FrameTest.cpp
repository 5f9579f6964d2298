// The frame and content mechanism on real windows: the layered picture, placement at two
// scales, the move rule, dragging by the strip, and frames or contents whose images are
// missing or damaged.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "dialogs/CExecutePromptDlg.h"
#include "dialogs/CPromptDlg.h"
#include "dialogs/LayeredPicture.h"
#include "repair/RepairMessages.h"
#include "res/resource.h"
#include "tests/skin/SkinTestIds.h"
#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Tool.h"
#include "tests/support/Waits.h"

using namespace testsupport;

namespace {

// A control of the content's hover upkeep that takes its hover look on demand.
class LitTarget : public HoverTarget {
public:
    void Light() { HoverStarted(); }
    void RefreshHover(int, int) override { ++refreshes; }
    int refreshes = 0;
};

// A pair with test numbers on the prompt's templates; both windows count their timer ticks.
class TestContent : public CSkinContentDlg {
public:
    explicit TestContent(const SkinContentLayout& layout) : CSkinContentDlg(layout) { AddHoverTarget(target); }
    void InitContent() override { initialised = true; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        ticks += message == WM_TIMER;
        return CSkinContentDlg::WindowProc(message, wParam, lParam);
    }
    bool initialised = false;
    int ticks = 0;
    LitTarget target;
};

class TestFrame : public CSkinFrameDlg {
public:
    TestFrame(const SkinFrameLayout& frame, const SkinContentLayout& content)
        : CSkinFrameDlg(frame, nullptr), m_contentLayout(content)
    {
    }
    TestContent& Content() const { return *static_cast<TestContent*>(GetContent()); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        ticks += message == WM_TIMER;
        return CSkinFrameDlg::WindowProc(message, wParam, lParam);
    }
    int ticks = 0;

protected:
    std::unique_ptr<CSkinContentDlg> MakeContent() override { return std::make_unique<TestContent>(m_contentLayout); }

private:
    SkinContentLayout m_contentLayout;
};

// The prompt's own frame layout, on which the test pair is built.
const SkinFrameLayout& kTestFrame = CPromptDlg::FrameLayout();
const SkinContentLayout kTestContent = {
    .imageId = kPromptContentPicture, .dragStripExclusion = 26, .swallowsEnterEscape = true};
const SkinContentLayout kTestContentWithHover = {
    .imageId = kPromptContentPicture, .dragStripExclusion = 26, .hoverTimerId = 34, .swallowsEnterEscape = true};

bool ContentAbove(HWND frame, HWND content)
{
    for (HWND above = ::GetWindow(frame, GW_HWNDPREV); above; above = ::GetWindow(above, GW_HWNDPREV)) {
        if (above == content) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(LayeredFrame, PictureHasTheShadowsAlphaRampAndAnOpaqueInterior)
{
    PngImagePtr image;
    ASSERT_TRUE(LoadPngResource(&image, kPromptPicture));
    LayeredPicture picture(336, 156);
    ASSERT_TRUE(picture.Valid());
    picture.Draw(*image);
    auto alpha = [&](int x, int y) { return static_cast<int>(picture.Pixel(x, y) >> 24); };
    // Interior (inside 5, 3, 5, 7) opaque; the shadow band semi-transparent, rising inwards.
    EXPECT_EQ(alpha(168, 78), 255);
    EXPECT_EQ(alpha(6, 4), 255);
    EXPECT_EQ(alpha(329, 146), 255);
    EXPECT_GT(alpha(0, 78), 0);
    EXPECT_LT(alpha(0, 78), 40);
    EXPECT_LT(alpha(1, 78), alpha(3, 78));
    EXPECT_LT(alpha(168, 155), alpha(168, 151));
    EXPECT_LT(alpha(168, 151), 255);
    // Premultiplied colour: no channel above its alpha.
    const DWORD shadow = picture.Pixel(2, 78);
    EXPECT_LE(((shadow >> 16) & 0xFF), shadow >> 24);
    EXPECT_LE((shadow & 0xFF), shadow >> 24);
}

TEST(LayeredFrame, PictureOfTheImagesOwnSizeIsTheImagePremultiplied)
{
    const Image reference = ResourcePng(kMainFramePicture);
    ASSERT_FALSE(reference.Empty());
    LayeredPicture picture(reference.width, reference.height);
    ASSERT_TRUE(picture.DrawResource(kMainFramePicture));
    int differing = 0;
    int translucent = 0;
    for (int y = 0; y < reference.height; y += 3) {
        for (int x = 0; x < reference.width; x += 3) {
            const DWORD argb = reference.At(x, y);
            const DWORD alpha = argb >> 24;
            translucent += alpha > 0 && alpha < 255;
            const DWORD shown = picture.Pixel(x, y);
            bool same = (shown >> 24) == alpha;
            for (int shift : {0, 8, 16}) {
                const int expected = static_cast<int>(((argb >> shift) & 0xFF) * alpha / 255);
                same = same && std::abs(static_cast<int>((shown >> shift) & 0xFF) - expected) <= 1;
            }
            differing += same ? 0 : 1;
        }
    }
    EXPECT_GT(translucent, 100) << "the shadow's pixels must be among those compared";
    EXPECT_EQ(differing, 0);

    // A frame decodes a picture of its own size straight into its surface; that gives what
    // drawing the loaded image gives, for every picture, with and without alpha.
    int compared = 0;
    for (UINT id = 138; id <= 200; ++id) {
        PngImagePtr image;
        if (!LoadPngResource(&image, id)) {
            continue;
        }
        SCOPED_TRACE("PNG " + std::to_string(id));
        ++compared;
        LayeredPicture fromImage(image->Width(), image->Height());
        fromImage.Draw(*image);
        LayeredPicture fromResource(image->Width(), image->Height());
        ASSERT_TRUE(fromResource.DrawResource(id));
        int unlike = 0;
        for (int y = 0; y < image->Height(); ++y) {
            for (int x = 0; x < image->Width(); ++x) {
                unlike += fromImage.Pixel(x, y) != fromResource.Pixel(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(0, unlike);
    }
    EXPECT_GE(compared, 50);
    LayeredPicture missing(10, 10);
    EXPECT_FALSE(missing.DrawResource(IDP_MISSING_PNG));
    LayeredPicture damaged(10, 10);
    EXPECT_TRUE(damaged.DrawResource(IDP_DAMAGED_PNG)) << "loaded, drawing nothing";
    EXPECT_EQ(0u, damaged.Pixel(5, 5));
}

TEST(LayeredFrame, ProgressFrameIsLayeredAndCutOutWhereItsPictureIsClear)
{
    // A white window behind the pop-up shows where the frame lets the desktop through.
    HWND backdrop = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | SS_WHITERECT, 0, 0, 1280, 1024,
                                      nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(backdrop, nullptr);
    CExecutePromptDlg progress;
    progress.SetText(L"正在修复，请稍等");
    RECT frame{};
    LONG exStyle = 0;
    COLORREF corner = 0;
    COLORREF ring = 0;
    COLORREF backdropColour = 0;
    COLORREF inside = 0;
    Later(300, [&] {
        frame = WindowScreenRect(progress.m_hWnd);
        exStyle = ::GetWindowLongW(progress.m_hWnd, GWL_EXSTYLE);
        backdropColour = ScreenPixel(frame.left - 20, frame.top - 20);
        corner = ScreenPixel(frame.left, frame.top);
        ring = ScreenPixel(frame.left + 10, frame.top + 60);
        inside = ScreenPixel(frame.left + 40, frame.top + 30);
        progress.SendMessage(WM_CLOSE_PROGRESS);
    });
    EXPECT_EQ(progress.DoModal(), IDOK);
    ::DestroyWindow(backdrop);

    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_EQ(frame.right - frame.left, 232);
    EXPECT_EQ(frame.bottom - frame.top, 132);
    EXPECT_EQ(corner, backdropColour) << "alpha 0 in the picture's corner: the window is cut out there";
    EXPECT_NE(ring, backdropColour) << "the shadow ring has alpha and is part of the window";
    EXPECT_GT(ColourDistance(inside, RGB(0, 0, 0)), 60) << "the content's blue lies over the interior";
}

namespace {

// The rectangles of a prompt once it shows (controls in the content's client coordinates).
struct PromptGeometry {
    RECT frame, content, close, ok, cancel, text;
};

PromptGeometry MeasurePrompt(int type, float scale)
{
    CPromptDlg prompt;
    prompt.SetScale(scale);
    prompt.SetText(L"修复Quenmar软件名称显示乱码成功！");
    prompt.SetType(type);
    PromptGeometry g{};
    Later(50, [&] {
        CPromptChildDlg* child = prompt.GetPromptContent();
        g = {WindowScreenRect(prompt.m_hWnd),         WindowScreenRect(child->m_hWnd),
             ChildRect(child->CloseButton().m_hWnd),  ChildRect(child->OkButton().m_hWnd),
             ChildRect(child->CancelButton().m_hWnd), ChildRect(child->TextStatic().m_hWnd)};
        prompt.EndDialog(IDOK);
    });
    prompt.DoModal();
    return g;
}

}  // namespace

TEST(LayeredFrame, PromptGeometryAtScaleOne)
{
    const PromptGeometry g = MeasurePrompt(kPromptConfirmCancel, 1.0f);
    EXPECT_EQ(g.frame.right - g.frame.left, 336);
    EXPECT_EQ(g.frame.bottom - g.frame.top, 156);
    // 326 x 146 at (+5, +3).
    EXPECT_RECT(g.content, (RECT{g.frame.left + 5, g.frame.top + 3, g.frame.right - 5, g.frame.bottom - 7}));
    EXPECT_RECT(g.close, (RECT{300, 8, 312, 20}));
    EXPECT_RECT(g.ok, (RECT{96, 107, 151, 131}));
    EXPECT_RECT(g.cancel, (RECT{175, 107, 230, 131}));
    EXPECT_RECT(g.text, (RECT{10, 50, 316, 106}));
    // Centred by the dialog framework in the work area, the content with it.
    RECT area;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR((g.frame.left + g.frame.right) / 2, (area.left + area.right) / 2, 1);
    EXPECT_NEAR((g.frame.top + g.frame.bottom) / 2, (area.top + area.bottom) / 2, 1);
    EXPECT_RECT(MeasurePrompt(kPromptConfirm, 1.0f).ok, (RECT{135, 107, 190, 131}));
}

TEST(LayeredFrame, PromptAndProgressGeometryAtScaleOneAndAQuarter)
{
    const PromptGeometry g = MeasurePrompt(kPromptConfirm, 1.25f);
    EXPECT_EQ(g.frame.right - g.frame.left, 420);
    EXPECT_EQ(g.frame.bottom - g.frame.top, 195);
    // Margins 5, 3, 5, 7 times 1.25, cut: 6, 3, 6, 8; the content is 408 x 184.
    EXPECT_RECT(g.content, (RECT{g.frame.left + 6, g.frame.top + 3, g.frame.right - 6, g.frame.bottom - 8}));
    EXPECT_RECT(g.close, (RECT{376, 10, 391, 25}));
    // One answer, centred: 408 / 2 - 68 / 2 = 170; 107 x 1.25 = 133.75 cut.
    EXPECT_RECT(g.ok, (RECT{170, 133, 238, 163}));
    EXPECT_RECT(g.text, (RECT{12, 62, 396, 134}));

    CExecutePromptDlg progress;
    progress.SetScale(1.25f);
    RECT frame{}, content{}, text{};
    Later(50, [&] {
        CExecutePromptChildDlg* child = progress.GetProgressContent();
        frame = WindowScreenRect(progress.m_hWnd);
        content = WindowScreenRect(child->m_hWnd);
        text = ChildRect(child->StateStatic().m_hWnd);
        progress.SendMessage(WM_CLOSE_PROGRESS);
    });
    progress.DoModal();
    EXPECT_EQ(frame.right - frame.left, 290);
    EXPECT_EQ(frame.bottom - frame.top, 165);
    EXPECT_RECT(content, (RECT{frame.left + 17, frame.top + 15, frame.right - 17, frame.bottom - 20}));
    EXPECT_RECT(text, (RECT{12, 53, 244, 78}));
}

TEST(LayeredFrame, FrameMovesCarryTheContentUntilTheContentIsDragged)
{
    CPromptDlg prompt;
    prompt.SetType(kPromptConfirmCancel);
    RECT content{}, frame{};
    LRESULT inStrip = 0, inCorner = 0, below = 0;
    RECT afterDrag{}, frameAfterDrag{}, contentAfterFrameMove{};
    int moveSyncAfterDrag = -1;
    Later(50, [&] {
        CPromptChildDlg* child = prompt.GetPromptContent();
        ::SetWindowPos(prompt.m_hWnd, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        frame = WindowScreenRect(prompt.m_hWnd);
        content = WindowScreenRect(child->m_hWnd);

        // The strip: the top 30 pixels, less the right 26 where the close button lies.
        inCorner = child->SendMessage(WM_NCHITTEST, 0, PointParam(POINT{content.right - 10, content.top + 10}));
        below = child->SendMessage(WM_NCHITTEST, 0, PointParam(POINT{content.left + 50, content.top + 31}));
        inStrip = child->SendMessage(WM_NCHITTEST, 0, PointParam(POINT{content.left + 50, content.top + 10}));
        // The system drags the content; the frame follows it.
        ::SetWindowPos(child->m_hWnd, nullptr, content.left + 40, content.top + 30, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        afterDrag = WindowScreenRect(child->m_hWnd);
        frameAfterDrag = WindowScreenRect(prompt.m_hWnd);
        moveSyncAfterDrag = prompt.GetMoveSync();
        ::SetWindowPos(prompt.m_hWnd, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        contentAfterFrameMove = WindowScreenRect(child->m_hWnd);
        prompt.EndDialog(IDOK);
    });
    prompt.DoModal();
    EXPECT_EQ(frame.left, 200);
    EXPECT_RECT(content, (RECT{205, 153, 531, 299}));
    EXPECT_EQ(inStrip, HTCAPTION);
    EXPECT_NE(inCorner, HTCAPTION);
    EXPECT_NE(below, HTCAPTION);
    EXPECT_RECT(afterDrag, Offset(content, 40, 30));
    EXPECT_RECT(frameAfterDrag, Offset(frame, 40, 30));
    EXPECT_EQ(moveSyncAfterDrag, 0);
    EXPECT_RECT(contentAfterFrameMove, afterDrag) << "after a drag the frame no longer leads";
}

TEST(LayeredFrame, DraggingTheTopStripWithTheMouseMovesTheWholePrompt)
{
    CPromptDlg prompt;
    prompt.SetType(kPromptConfirm);
    RECT before{}, frameBefore{}, after{}, frameAfter{};
    std::thread mouse;
    std::atomic<bool> dragged{false};
    Later(100, [&] {
        CPromptChildDlg* child = prompt.GetPromptContent();
        before = WindowScreenRect(child->m_hWnd);
        frameBefore = WindowScreenRect(prompt.m_hWnd);
        const POINT start{before.left + 60, before.top + 12};
        MovePointer(start, Waiting::Pump);
        // The moves come from another thread while this one runs the system's move loop.
        const DWORD uiThread = ::GetCurrentThreadId();
        mouse = std::thread([start, uiThread, &dragged] {
            DragWithMouse(start, POINT{start.x + 50, start.y + 40}, uiThread);
            dragged = true;
        });
        PollThen([&] { return dragged.load(); }, 8000,
                 [&] {
                     after = WindowScreenRect(prompt.GetPromptContent()->m_hWnd);
                     frameAfter = WindowScreenRect(prompt.m_hWnd);
                     prompt.EndDialog(IDOK);
                 });
    });
    prompt.DoModal();
    mouse.join();
    EXPECT_RECT(after, Offset(before, 50, 40));
    EXPECT_RECT(frameAfter, Offset(frameBefore, 50, 40)) << "the shadow comes along";
}

TEST(LayeredFrame, DestroyingTheFrameDestroysAndDeletesItsContent)
{
    CPromptDlg prompt;
    HWND contentWindow = nullptr;
    Later(50, [&] {
        contentWindow = prompt.GetContent()->m_hWnd;
        prompt.EndDialog(IDCANCEL);
    });
    prompt.DoModal();
    EXPECT_NE(contentWindow, nullptr);
    EXPECT_FALSE(::IsWindow(contentWindow));
    EXPECT_EQ(prompt.GetContent(), nullptr);
}

TEST(LayeredFrame, ModalFrameWithoutItsPictureCancelsItselfWithoutContent)
{
    SkinFrameLayout broken = kTestFrame;
    broken.imageId = IDP_MISSING_PNG;
    TestFrame frame(broken, kTestContent);
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(frame.DoModal(), IDCANCEL);
    EXPECT_LT(::GetTickCount() - start, 5000u) << "it must not wait for a click that cannot come";
    EXPECT_FALSE(frame.HasPicture());
    EXPECT_EQ(frame.GetContent(), nullptr);

    // A frame that its owner ends by message keeps waiting for it.
    broken.cancelsWithoutPicture = false;
    TestFrame waiting(broken, kTestContent);
    bool stillRunning = false;
    Later(100, [&] {
        stillRunning = ::IsWindow(waiting.m_hWnd) && waiting.GetContent() == nullptr;
        waiting.EndDialog(IDOK);
    });
    EXPECT_EQ(waiting.DoModal(), IDOK);
    EXPECT_TRUE(stillRunning);
}

TEST(LayeredFrame, DamagedContentBackgroundDrawsNothingAndTheContentStillWorks)
{
    SkinContentLayout damaged = kTestContent;
    damaged.imageId = IDP_DAMAGED_PNG;
    TestFrame frame(kTestFrame, damaged);
    bool initialised = false;
    int backgroundWidth = -1;
    Later(50, [&] {
        auto* content = static_cast<TestContent*>(frame.GetContent());
        content->Invalidate(TRUE);
        ::UpdateWindow(content->m_hWnd);
        initialised = content->initialised;
        backgroundWidth = content->GetBackground() ? content->GetBackground()->Width() : -1;
        // The dialog manager's Cancel in the content ends the pop-up.
        content->SendMessage(WM_CLOSE);
    });
    EXPECT_EQ(frame.DoModal(), IDCANCEL);
    EXPECT_TRUE(initialised);
    EXPECT_EQ(backgroundWidth, 0) << "loaded, but not decodable";
}

TEST(LayeredFrame, ContentStaysAboveItsFrameOnceShown)
{
    CPromptDlg prompt;
    prompt.SetType(kPromptConfirm);
    bool contentAbove = false;
    HWND underCentre = nullptr;
    HWND contentWindow = nullptr;
    // The pointer away from the prompt: no hit test may help the order here.
    SendPointerMove(POINT{5, 5});
    Later(300, [&] {
        contentWindow = prompt.GetContent()->m_hWnd;
        contentAbove = ContentAbove(prompt.m_hWnd, contentWindow);
        const RECT content = WindowScreenRect(contentWindow);
        underCentre = ::WindowFromPoint(POINT{content.left + 40, content.top + 70});
        prompt.EndDialog(IDOK);
    });
    prompt.DoModal();
    EXPECT_TRUE(contentAbove);
    EXPECT_EQ(underCentre, contentWindow) << "the content, not the frame, takes the pointer";
}

// With its frame raised above it, the content is put back above; once the desktop has settled
// neither window wakes up again while the pointer stays away.
TEST(LayeredFrame, AFrameRaisedAboveItsContentIsPutBackThenThePairRests)
{
    ASSERT_TRUE(ParkPointer());
    TestFrame frame(kTestFrame, kTestContentWithHover);
    bool beneath = false;
    bool putBack = false;
    bool settled = false;
    int ticksAtRest = -1;
    Later(100, [&] {
        HWND content = frame.Content().m_hWnd;
        // Wine keeps an owned window above its owner when asked to move either, so the frame
        // is raised while it does not own the content.
        ::SetWindowLongPtrW(content, GWLP_HWNDPARENT, 0);
        ::SetWindowPos(frame.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ::SetWindowLongPtrW(content, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(frame.m_hWnd));
        beneath = !ContentAbove(frame.m_hWnd, content);
        PollThen([&, content] { return ContentAbove(frame.m_hWnd, content); }, 2000, [&, content] {
            putBack = ContentAbove(frame.m_hWnd, content);
            PollThen([&] { return !frame.GetWindowOrder().Settling(); }, 3000, [&] {
                settled = !frame.GetWindowOrder().Settling();
                const int before = frame.ticks + frame.Content().ticks;
                Later(700, [&, before] {
                    ticksAtRest = frame.ticks + frame.Content().ticks - before;
                    frame.EndDialog(IDOK);
                });
            });
        });
    });
    frame.DoModal();
    EXPECT_TRUE(beneath) << "the frame could not be raised above its content";
    EXPECT_TRUE(putBack);
    EXPECT_GE(frame.GetWindowOrder().Corrections(), 1);
    EXPECT_TRUE(settled) << "the order checks went on";
    EXPECT_EQ(ticksAtRest, 0);
}

// The content's hover upkeep runs from a control's hover look until a tick has found the
// pointer away and reset the controls, and starts again with the next hover.
TEST(LayeredFrame, HoverUpkeepRunsFromAHoverUntilATickFindsThePointerAway)
{
    ASSERT_TRUE(ParkPointer());
    TestFrame frame(kTestFrame, kTestContentWithHover);
    int ticksBeforeHover = -1;
    int refreshesAfterFirst = -1;
    int ticksAfterReset = -1;
    int refreshesAfterSecond = -1;
    Later(1500, [&] {
        TestContent& content = frame.Content();
        ticksBeforeHover = content.ticks;
        content.target.Light();
        PollThen([&] { return content.target.refreshes > 0; }, 1000, [&] {
            refreshesAfterFirst = content.target.refreshes;
            const int ticks = content.ticks;
            Later(500, [&, ticks] {
                ticksAfterReset = content.ticks - ticks;
                content.target.Light();
                PollThen([&] { return content.target.refreshes > refreshesAfterFirst; }, 1000, [&] {
                    refreshesAfterSecond = content.target.refreshes;
                    frame.EndDialog(IDOK);
                });
            });
        });
    });
    frame.DoModal();
    EXPECT_EQ(ticksBeforeHover, 0) << "no hover, no upkeep";
    EXPECT_EQ(refreshesAfterFirst, 1) << "one tick resets the controls";
    EXPECT_EQ(ticksAfterReset, 0) << "the upkeep stops once the controls are reset";
    EXPECT_EQ(refreshesAfterSecond, 2) << "the next hover starts it again";
}
