#pragma once
#include "framework/CWnd.h"

// A push button or check box of a dialog template; subclasses replace only its painting.
class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
};
