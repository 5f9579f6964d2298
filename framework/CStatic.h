#pragma once
#include "framework/CWnd.h"

// A static text control of a dialog template; subclasses replace only its painting.
class CStatic : public CWnd {};
