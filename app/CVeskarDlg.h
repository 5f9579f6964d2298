#pragma once
// The main window's frame: the layered picture with its shadow around the main panel. It adds
// the about entry to the system menu, carries the icon and the title, and when its window is
// destroyed it starts the removal of the tool's files.
#include "dialogs/CSkinFrameDlg.h"

class CVeskarDlg : public CSkinFrameDlg {
public:
    CVeskarDlg();

    // Whether the main window could show itself (its picture and its panel were made).
    bool Showed() const { return m_showed; }

protected:
    std::unique_ptr<CSkinContentDlg> MakeContent() override;
    BOOL OnInitDialog() override;

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HICON OnQueryDragIcon() { return m_icon; }
    void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    void AddAboutMenuEntry();

    HICON m_icon;
    bool m_showed = false;
};
