#include "CharacterPanel.h"

#include <algorithm>

#include "CharacterTexts.h"
#include "DisplayScale.h"
#include "KeyLabel.h"
#include "KeyboardHook.h"
#include "WideText.h"

namespace {

constexpr uint32_t kLeftShift = 0xA0, kRightShift = 0xA1;

int TextWidth(HDC dc, HFONT font, const std::wstring& text) {
    SelectObject(dc, font);
    RECT box = {0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return box.right - box.left;
}

}  // namespace

BEGIN_MESSAGE_MAP(CCharacterPanel, CWnd)
    ON_WM_TIMER()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CCharacterPanel& CCharacterPanel::Instance() {
    static CCharacterPanel panel;
    return panel;
}

CCharacterPanel::~CCharacterPanel() {
    if (m_font != nullptr) DeleteObject(m_font);
    if (m_headingFont != nullptr) DeleteObject(m_headingFont);
}

void CCharacterPanel::SetLayout(const LayoutTables& tables, HWND owner) {
    Create(owner);  // hidden until it shows; its timer needs the window
    m_chords = DescribeChords(tables);
    m_modifierKeys = tables.ModifierKeys;
    std::vector<int16_t> activation;
    for (const int key : m_chords.activationKeys) activation.push_back(static_cast<int16_t>(key));
    m_trigger.SetActivationKeys(activation);
    Follow();
}

void CCharacterPanel::SetWelsh(bool welsh) {
    m_welsh = welsh;
    Hide();
}

void CCharacterPanel::SetAllowed(bool allowed) {
    m_allowed = allowed;
    if (!allowed && m_triggerOn) {
        m_triggerOn = false;
        m_trigger.SetOn(false);
        Follow();
    }
}

void CCharacterPanel::OnRawKey(uint32_t vk, bool down, uint32_t timeMs) {
    if (vk == kLeftShift || vk == kRightShift) m_shiftHeld = down;
    // Nothing in a program Marnell stays out of.
    const bool on = m_allowed && !KeysPassUntouched().load(std::memory_order_relaxed);
    if (on != m_triggerOn) {
        m_triggerOn = on;
        m_trigger.SetOn(on);
    }
    const int armed = ArmedModifierIndex().load(std::memory_order_relaxed);
    const int accentKey =
        armed > 0 && static_cast<std::size_t>(armed) < m_modifierKeys.size() ? m_modifierKeys[armed] : 0;
    m_trigger.OnKey(vk, down, accentKey, timeMs);
    Follow();
}

void CCharacterPanel::OnTimer(UINT_PTR nIDEvent) {
    if (!m_wait.Fired(nIDEvent)) return;
    m_trigger.OnWaitOver(GetTickCount());
    Follow();
}

void CCharacterPanel::Follow() {
    const PanelTrigger::Panel panel = m_trigger.Showing();
    if (panel == PanelTrigger::Panel::None) {
        Hide();
    } else {
        // Upper case as the engine reckons it: Shift held, or Caps Lock on, not both.
        const bool upper = m_shiftHeld != ((GetKeyState(VK_CAPITAL) & 1) != 0);
        if (panel != m_shown || upper != m_shownUpper) Show();
    }
    if (m_trigger.IsWaiting())
        m_wait.Arm(m_trigger.WaitLeftMs(GetTickCount()));
    else
        m_wait.Disarm();
}

bool CCharacterPanel::Create(HWND owner) {
    if (m_hWnd != nullptr) return true;
    // Aware of each monitor's scale: drawn crisp wherever it shows.
    ScopedPerMonitorAwareness aware;
    // Layered and transparent: the mouse goes through to what lies beneath.
    const DWORD exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT;
    if (!CreateEx(exStyle, AfxRegisterWndClass(0), kCharacterPanelName, WS_POPUP, 0, 0, 0, 0, owner, nullptr))
        return false;
    SetLayeredWindowAttributes(m_hWnd, 0, 240, LWA_ALPHA);
    return true;
}

void CCharacterPanel::MakeFonts(UINT dpi) {
    if (dpi == m_fontDpi) return;
    m_fontDpi = dpi;
    if (m_font != nullptr) DeleteObject(m_font);
    if (m_headingFont != nullptr) DeleteObject(m_headingFont);
    LOGFONTW font = MessageFontAtDpi(dpi);
    font.lfHeight = font.lfHeight * 3 / 2;  // read at a glance, beside the text being written
    m_font = CreateFontIndirectW(&font);
    font.lfWeight = FW_BOLD;
    m_headingFont = CreateFontIndirectW(&font);
    HDC screen = GetDC(nullptr);
    HGDIOBJ before = SelectObject(screen, m_font);
    TEXTMETRICW text = {};
    GetTextMetricsW(screen, &text);
    SelectObject(screen, before);
    ReleaseDC(nullptr, screen);
    m_lineHeight = text.tmHeight + text.tmExternalLeading + MulDiv(2, static_cast<int>(dpi), 96);
    m_padding = m_lineHeight / 2;
}

void CCharacterPanel::Show() {
    if (m_hWnd == nullptr) return;
    const PanelTrigger::Panel panel = m_trigger.Showing();
    m_shown = panel;
    m_shownUpper = m_shiftHeld != ((GetKeyState(VK_CAPITAL) & 1) != 0);

    // In the physical pixels of the monitor the user works on: the one with
    // the foreground window, at its own scale.
    ScopedPerMonitorAwareness aware;
    HMONITOR onMonitor = MonitorFromWindow(GetForegroundWindow(), MONITOR_DEFAULTTOPRIMARY);
    MakeFonts(MonitorDpi(onMonitor));
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(onMonitor, &monitor);
    const RECT work = monitor.rcWork;  // above the taskbar
    const int workWidth = work.right - work.left, workHeight = work.bottom - work.top;

    const std::size_t maxLines =
        static_cast<std::size_t>(std::max(1, (workHeight / 2 - 2 * m_padding) / m_lineHeight - 1));
    const PanelText text = PanelTextFor(m_chords, KeyLabel, m_shownUpper, m_trigger.AccentShown(), maxLines, m_welsh);
    m_heading = WideFromUtf8(text.heading);
    m_lines.clear();
    for (const std::string& line : text.lines) m_lines.push_back(WideFromUtf8(line));

    HDC screen = GetDC(nullptr);
    int width = TextWidth(screen, m_headingFont, m_heading);
    for (const std::wstring& line : m_lines) width = std::max(width, TextWidth(screen, m_font, line));
    ReleaseDC(nullptr, screen);
    width = std::min(width + 2 * m_padding, workWidth - 2 * m_padding);
    const int height = static_cast<int>(m_lines.size() + 1) * m_lineHeight + 2 * m_padding;
    SetWindowPos(m_hWnd, HWND_TOPMOST, work.left + (workWidth - width) / 2, work.bottom - height - m_padding, width,
                 height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CCharacterPanel::Hide() {
    // Called at every key: no window call unless the panel shows.
    if (m_shown == PanelTrigger::Panel::None) return;
    m_shown = PanelTrigger::Panel::None;
    ShowWindow(SW_HIDE);
}

void CCharacterPanel::OnPaint() {
    CPaintDC dc(this);
    RECT client;
    GetClientRect(&client);
    // The system's tooltip colours: right in high contrast too.
    FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
    FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    RECT line = {client.left + m_padding, client.top + m_padding, client.right - m_padding,
                 client.top + m_padding + m_lineHeight};
    SelectObject(dc, m_headingFont);
    DrawTextW(dc, m_heading.c_str(), static_cast<int>(m_heading.size()), &line,
              DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, m_font);
    for (const std::wstring& text : m_lines) {
        OffsetRect(&line, 0, m_lineHeight);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
                  DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}
