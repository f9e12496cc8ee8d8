#include "DisplayScale.h"

#include "SystemFunction.h"

namespace {

using SetThreadDpiAwarenessContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

// Looked up once, on first use (always on the main thread).
struct ScaleFunctions {
    SetThreadDpiAwarenessContextFn setThreadContext =
        SystemFunction<SetThreadDpiAwarenessContextFn>(L"user32.dll", "SetThreadDpiAwarenessContext");
    GetDpiForMonitorFn dpiForMonitor = SystemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    GetSystemMetricsForDpiFn metricsForDpi =
        SystemFunction<GetSystemMetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi");
    SystemParametersInfoForDpiFn parametersForDpi =
        SystemFunction<SystemParametersInfoForDpiFn>(L"user32.dll", "SystemParametersInfoForDpi");
};
const ScaleFunctions& Functions() {
    static const ScaleFunctions functions;
    return functions;
}

UINT SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96u;
}

}  // namespace

ScopedPerMonitorAwareness::ScopedPerMonitorAwareness() {
    if (Functions().setThreadContext != nullptr)
        m_previous = Functions().setThreadContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

ScopedPerMonitorAwareness::~ScopedPerMonitorAwareness() {
    if (Functions().setThreadContext != nullptr && m_previous != nullptr)
        Functions().setThreadContext(static_cast<DPI_AWARENESS_CONTEXT>(m_previous));
}

UINT MonitorDpi(HMONITOR monitor) {
    UINT x = 0, y = 0;
    // Asked per-monitor aware: a thread aware of the system's scale only
    // would be told that scale for every monitor.
    ScopedPerMonitorAwareness aware;
    if (Functions().dpiForMonitor != nullptr && SUCCEEDED(Functions().dpiForMonitor(monitor, kEffectiveDpi, &x, &y)) &&
        x != 0)
        return x;
    return SystemDpi();
}

int SystemMetricAtDpi(int index, UINT dpi) {
    if (Functions().metricsForDpi != nullptr) return Functions().metricsForDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

LOGFONTW MessageFontAtDpi(UINT dpi) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (Functions().parametersForDpi != nullptr &&
        Functions().parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi))
        return metrics.lfMessageFont;
    // The system's font at the system's scale, scaled as the system would.
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    metrics.lfMessageFont.lfHeight =
        MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    return metrics.lfMessageFont;
}

int NotificationIconSize() {
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    return SystemMetricAtDpi(SM_CXSMICON, MonitorDpi(MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY)));
}
