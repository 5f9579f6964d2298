#pragma once
// The content of a pop-up pair: an opaque pop-up dialog that lies over its frame's interior
// and holds the controls. It draws its background picture, may be dragged by a strip along
// its top (the frame then follows it), keeps the hover looks of its controls up to date and
// hands the dialog manager's OK and Cancel to its frame. Each pair supplies its numbers
// (SkinContentLayout), its controls and InitContent.
#include <initializer_list>
#include <type_traits>
#include <vector>

#include "controls/CStateImageButton.h"
#include "controls/HoverTarget.h"
#include "controls/PngImage.h"
#include "dialogs/SkinLayout.h"
#include "framework/CDialog.h"

class CSkinFrameDlg;

// One control of a content, said once: bound to its template item, told where the pointer is
// when it hovers (kHovers), and its images released when the content goes (image buttons).
constexpr bool kHovers = true;
struct SkinControl {
    template <class Control>
    SkinControl(int id, Control& control, bool hovers = false)
        : id(id), window(control), hoverTarget(nullptr), imageOwner(nullptr)
    {
        if constexpr (std::is_base_of_v<HoverTarget, Control>) {
            hoverTarget = hovers ? &control : nullptr;
        }
        if constexpr (std::is_base_of_v<CStateImageButton, Control>) {
            imageOwner = &control;
        }
    }
    int id;
    CWnd& window;
    HoverTarget* hoverTarget;
    CStateImageButton* imageOwner;
};

class CSkinContentDlg : public CDialog, private HoverWatcher {
public:
    explicit CSkinContentDlg(const SkinContentLayout& layout);

    void SetScale(float scale) { m_scale = scale; }
    float GetScale() const { return m_scale; }
    // Places and configures the controls; called by the frame once the content has its
    // final rectangle and is shown.
    virtual void InitContent() = 0;
    // Lets go of what the content's own parts hold or borrow (workers, hooks, a borrowed
    // background); called as the window goes, before the content releases its images.
    virtual void ReleaseContent() {}

    // The background picture, loaded on first need (null when it cannot be loaded). Controls
    // may borrow it until the content's window is destroyed.
    const PngImage* GetBackground();
    int GetDragFlag() const { return m_dragFlag; }

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // The frame that created this content (its owner), or null.
    CSkinFrameDlg* GetFrame() const;
    // A control told the cursor's position at every hit test of the content and, while the
    // cursor is outside the content, at every tick of the hover timer.
    void AddHoverTarget(HoverTarget& target);
    // DDX_Control for each control, which also registers it for what its entry says; for the
    // content's DoDataExchange.
    void BindSkinControls(CDataExchange* pDX, std::initializer_list<SkinControl> controls);
    void RefreshHoverTargets(POINT screen);
    // Where the background picture is drawn, in client coordinates: the whole client area,
    // unless a content keeps a rectangle of its own.
    virtual RECT BackgroundRect() const;

    // The dialog manager's OK and Cancel (Enter, Escape, WM_CLOSE) end the whole pop-up.
    void OnOK() override;
    void OnCancel() override;

    BOOL OnEraseBkgnd(HDC dc);
    LRESULT OnNcHitTest(POINT screen);
    void OnMove(int x, int y);
    void OnTimer(UINT_PTR id);
    LRESULT OnActivate(WPARAM, LPARAM);
    LRESULT OnEnable(WPARAM, LPARAM);
    LRESULT OnWindowPosChanged(WPARAM, LPARAM);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    // The hover timer runs from when the cursor is seen over the content or a control takes
    // its hover look until a tick has found the cursor away and reset the controls.
    void OnHoverStarted() override;
    void StopHoverUpkeep();
    // Tells the frame after a message that may have reordered the pair.
    LRESULT DefaultThenTellFrame(UINT message, LPARAM lParam);

    const SkinContentLayout m_layout;
    PngImagePtr m_background;
    std::vector<HoverTarget*> m_hoverTargets;
    std::vector<CStateImageButton*> m_imageOwners;
    float m_scale = 1.0f;
    int m_dragFlag;
    bool m_hoverUpkeep = false;
};
