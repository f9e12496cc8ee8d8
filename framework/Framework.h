#pragma once
// The application framework: a small layer on raw Win32 with the classes the
// program is written against.
#include "Dialog.h"
#include "Gdi.h"
#include "Menu.h"
#include "MessageMap.h"
#include "OneShotTimer.h"
#include "RuntimeClass.h"
#include "WinApp.h"
#include "WinThread.h"
#include "Wnd.h"
