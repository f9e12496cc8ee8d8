#pragma once
// The display's scale where Marnell draws. The program as a whole is aware of
// the system's scale only (its manifest), so that the dialogs and the splash
// keep their look; the panel and the Characters window are made and laid out
// aware of each monitor's own scale, inside a ScopedPerMonitorAwareness. The
// functions that know monitors' scales are looked up at run time: systems
// before Windows 10 and Wine without them still start, at the system's scale.

#include <windows.h>

// While it lives, the calling thread works in physical pixels with each
// monitor's own scale (where the system has per-monitor awareness).
class ScopedPerMonitorAwareness {
public:
    ScopedPerMonitorAwareness();
    ~ScopedPerMonitorAwareness();
    ScopedPerMonitorAwareness(const ScopedPerMonitorAwareness&) = delete;
    ScopedPerMonitorAwareness& operator=(const ScopedPerMonitorAwareness&) = delete;

private:
    void* m_previous = nullptr;  // the thread's context before, to restore
};

// The scale of `monitor` as dots per inch (96 at 100%).
UINT MonitorDpi(HMONITOR monitor);
// A system metric (SM_CXSMICON, ...) at `dpi`.
int SystemMetricAtDpi(int index, UINT dpi);
// The font of message boxes at `dpi`.
LOGFONTW MessageFontAtDpi(UINT dpi);
// The notification area's icon size for the monitor the taskbar is on.
int NotificationIconSize();
