#pragma once
// A modeless dialog holding one of each skinned control, bound by data exchange, that
// records the clicks it is told about.
#include <vector>

#include "controls/CCheckBoxBtn.h"
#include "controls/CDrawStateInfoStatic.h"
#include "controls/CDrawTextStatic.h"
#include "controls/CFeaturePngButton.h"
#include "controls/CPngButton.h"
#include "framework/CDialog.h"
#include "tests/skin/SkinTestIds.h"

class ControlsTestDialog : public CDialog {
public:
    ControlsTestDialog() : CDialog(IDD_SKIN_CONTROLS) {}

    // Creates, places at (100, 100) and shows the dialog.
    bool Open();

    CPngButton png;
    CFeaturePngButton feature;
    CCheckBoxBtn check;
    CDrawTextStatic text;
    CDrawStateInfoStatic state;
    std::vector<int> clicks;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnPngClicked() { clicks.push_back(IDC_TEST_PNG); }
    void OnFeatureClicked() { clicks.push_back(IDC_TEST_FEATURE); }
    BOOL OnEraseBkgnd(HDC dc);

    DECLARE_MESSAGE_MAP()
};
