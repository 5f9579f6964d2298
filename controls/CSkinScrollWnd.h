#pragma once
// Gives an existing scrolling control skinned scroll bars without changing the control: the
// frame takes the control's place (id, rectangle, border) in its dialog, a clip window named
// "LIMIT" holds the control and cuts off the control's own scroll-bar strips, and two skinned
// bars lie over those strips. The control is subclassed to follow its scroll state and its
// non-client layout; while wrapped, WrappingFrame finds the frame from the control.
//
//   dialog
//     frame "SkinScrollBarFrame" (the control's id and former place)
//       LIMIT (id 200)
//         the control
//       horizontal bar (id 100), vertical bar (id 101)
#include "controls/CSkinScrollBar.h"
#include "framework/CWnd.h"

class CSkinScrollWnd : public CWnd {
public:
    static constexpr UINT kHorizontalBarId = 100;
    static constexpr UINT kVerticalBarId = 101;
    static constexpr UINT kLimitId = 200;
    // Resynchronisation with the control's scroll state, for scrolling that erases nothing;
    // it runs while the frame can be seen (the control paints whenever it is shown again).
    static constexpr UINT_PTR kSyncTimer = 100;
    static constexpr UINT kSyncMs = 500;

    CSkinScrollWnd();
    ~CSkinScrollWnd() override;

    void SetScale(float scale) { m_fScale = scale; }
    void SetThumbEdge(int edge) { m_nThumbEdge = edge; }
    // Moves `control` into a new frame at its place. The skin is borrowed: the caller keeps it
    // alive while the frame exists. A missing skin gives bars of no size.
    BOOL WrapControl(HWND control, HBITMAP skin);

    int GetScrollWidth() const { return m_nScrollWidth; }
    // Frames that exist now (each is freed when its control is unwrapped).
    static int LiveFrames();

protected:
    void OnSize(UINT type, int cx, int cy);
    void OnVScroll(UINT code, UINT position, HWND bar);
    void OnHScroll(UINT code, UINT position, HWND bar);
    void OnTimer(UINT_PTR id);
    void OnPaint();
    LRESULT OnSkinScrollLayout(WPARAM vscroll, LPARAM leftScrollBar);

    DECLARE_MESSAGE_MAP()

private:
    friend LRESULT CALLBACK SkinScrollSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    friend BOOL UnwrapSkinScroll(HWND control);

    // Styles of frame and control, and the control's place in the frame, for a control at `rect`.
    struct FramePlan {
        DWORD frameStyle;
        DWORD frameExStyle;
        DWORD controlStyle;
        DWORD controlExStyle;
        RECT inner;
    };
    static FramePlan PlanFrame(HWND control, const RECT& rect, float scale);
    void CreateBars(HBITMAP skin);
    void Subclass(HWND control);
    HWND Control() const;
    CSkinScrollBar& Bar(int direction) { return direction == SB_VERT ? m_sbVert : m_sbHorz; }
    void ForwardScroll(UINT message, UINT code, UINT position);
    // Gives the control's scroll state of `direction` to its bar when it differs.
    void SyncBar(int direction, bool updateEnabled);
    void LayOutBars(HWND control, NCCALCSIZE_PARAMS* params);
    void StartSync();

    int m_nScrollWidth = 16;
    CSkinScrollBar m_sbHorz;
    CSkinScrollBar m_sbVert;
    HWND m_wndLimit = nullptr;
    HBITMAP m_hSkin = nullptr;
    BOOL m_bBusy = FALSE;
    bool m_syncing = false;
    int m_nCorner = 0;
    float m_fScale = 1.0f;
    int m_nThumbEdge = 0;
    WNDPROC m_funOldProc = nullptr;
};

// Wraps `control` in a new frame and returns it. The frame then belongs to the control: it is
// unwrapped and deleted when the control is destroyed.
CSkinScrollWnd* WrapWithSkinScroll(HWND control, HBITMAP skin, float scale, int thumbEdge);
// Puts the control back under the frame's parent at the frame's place, then destroys and
// deletes the frame. TRUE also when the control was not wrapped.
BOOL UnwrapSkinScroll(HWND control);
// The frame that wraps `control`, or null.
CSkinScrollWnd* WrappingFrame(HWND control);
// The wrapped control's window procedure.
LRESULT CALLBACK SkinScrollSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
