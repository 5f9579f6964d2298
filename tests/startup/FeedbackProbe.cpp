// Binds the feedback library the way the tool does, from wherever this program was copied
// to. Exit code 0: all nine exports bound and initialised; 2: not bound.
#include "repair/CFeedbackLibrary.h"

int wmain()
{
    CFeedbackLibrary library;
    if (!library.LoadFeedbackLibrary()) {
        return 2;
    }
    return library.InitFreedbackDll() == 1 ? 0 : 3;
}
