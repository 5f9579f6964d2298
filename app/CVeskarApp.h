#pragma once
#include "framework/CWinApp.h"

// The application object: prepares GDI+, the common controls and the rich edit control,
// runs the main window modally and ends the program when it closes.
class CVeskarApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override { return m_exitCode; }

private:
    void RunInteractive();

    int m_exitCode = 0;
};
