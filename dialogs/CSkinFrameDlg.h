#pragma once
// The frame of a pop-up pair: an empty, borderless dialog shown as a layered window with a
// picture that holds the pop-up's outline and soft shadow. It creates its content (an
// ordinary pop-up dialog with the controls) over its opaque interior, keeps the two in line
// and deletes the content when its window goes. Each pair supplies only its numbers
// (SkinFrameLayout) and its content object (MakeContent).
#include <memory>

#include "controls/PngImage.h"
#include "dialogs/SkinLayout.h"
#include "dialogs/WineWindowOrder.h"
#include "framework/CDialog.h"

class CSkinContentDlg;
class LayeredPicture;

class CSkinFrameDlg : public CDialog {
public:
    CSkinFrameDlg(const SkinFrameLayout& layout, CWnd* parent);
    ~CSkinFrameDlg() override;

    // Before the window exists; frames with their own scale compute it at start-up.
    void SetScale(float scale) { m_scale = scale; }
    float GetScale() const { return m_scale; }

    // The content was dragged to `contentWindowRect`: from now on the frame follows the
    // content (grown by the margins at creation) instead of leading it.
    void FollowContent(const RECT& contentWindowRect);

    CSkinContentDlg* GetContent() const { return m_content.get(); }
    const SkinFrameLayout& GetLayout() const { return m_layout; }
    int GetMoveSync() const { return m_moveSync; }
    // Whether the layered picture was set (false when the frame's image could not be loaded).
    bool HasPicture() const { return m_hasPicture; }

    // The content's messages that may have reordered the pair (see WineWindowOrder).
    void AfterContentMessage(UINT message, LPARAM lParam) { m_windowOrder.AfterContentMessage(message, lParam); }
    const WineWindowOrder& GetWindowOrder() const { return m_windowOrder; }

    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Makes the content object and hands it the pair's payload (text, type, ...). The scale
    // is copied by the frame afterwards.
    virtual std::unique_ptr<CSkinContentDlg> MakeContent() = 0;
    // The content window has been created and placed (and shown, or due to be shown with the
    // frame); called just before its InitContent.
    virtual void OnContentPlaced(CSkinContentDlg&) {}

    // Draws the frame's image, "PNG" resource `imageId`, into a picture of the frame's size:
    // the whole image stretched, unless a pair lays its picture out otherwise. False when the
    // image cannot be loaded.
    virtual bool DrawPicture(LayeredPicture& picture, UINT imageId);
    // The screen's LOGPIXELSY, from which frames with their own scale compute it.
    virtual int ScreenPixelsPerInch() const;

    BOOL OnInitDialog() override;
    // Composes the frame's picture at the given size and gives it to the window at its
    // current position. False when the frame's image cannot be loaded.
    bool ComposePicture(int width, int height);
    // While the frame carries its content: the content goes to the frame's window rectangle
    // inset by the margins for moves.
    void PlaceContentForMove();

    void OnMove(int x, int y);
    LRESULT OnWindowPosChanged(WPARAM, LPARAM);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    void CreateContent(const RECT& place);

    const SkinFrameLayout m_layout;
    std::unique_ptr<CSkinContentDlg> m_content;
    float m_scale = 1.0f;
    int m_moveSync;
    bool m_hasPicture = false;
    SIZE m_pictureSize{};
    bool m_showContentWithFrame = false;
    bool m_creatingContent = false;
    WineWindowOrder m_windowOrder;
};
