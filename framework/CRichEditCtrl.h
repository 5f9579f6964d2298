#pragma once
#include <richedit.h>

#include "framework/CWnd.h"
#include "framework/SystemLibrary.h"

// A rich edit control ("RichEdit20W") of a dialog template. The class must be registered
// before the dialog is made (AfxInitRichEdit).
class CRichEditCtrl : public CWnd {
public:
    void SetReadOnly(BOOL readOnly = TRUE) { SendMessage(EM_SETREADONLY, readOnly); }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
    int GetFirstVisibleLine() const { return static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE)); }
    void LineScroll(int lines) { SendMessage(EM_LINESCROLL, 0, lines); }
};

// Loads the rich edit library from the system folder once; later calls only report whether
// it is there.
inline BOOL AfxInitRichEdit()
{
    static HMODULE module = LoadSystemLibrary(L"riched20.dll");
    return module != nullptr;
}
