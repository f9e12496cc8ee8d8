#include "SplashWnd.h"

#include <cstring>

#include "SplashPixels.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CSplashWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplashWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

// Reads a bitmap as 24-bit pixels of the header's geometry into a fresh
// GMEM_FIXED block; nullptr when the size query or the allocation fails.
std::uint8_t* ReadPixels(HDC dc, HBITMAP bitmap, UINT lines, BITMAPINFO& info) {
    if (!bitmap) return nullptr;
    if (!GetDIBits(dc, bitmap, 0, lines, nullptr, &info, DIB_RGB_COLORS) || info.bmiHeader.biSizeImage == 0)
        return nullptr;
    auto* bits = static_cast<std::uint8_t*>(GlobalAlloc(GMEM_FIXED, info.bmiHeader.biSizeImage));
    if (!bits) return nullptr;
    if (!GetDIBits(dc, bitmap, 0, lines, bits, &info, DIB_RGB_COLORS)) {
        GlobalFree(bits);
        return nullptr;
    }
    return bits;
}

}  // namespace

CSplashWnd::CSplashWnd()
    : m_nWidth(0), m_nHeight(0), m_nScreenWidth(0), m_nScreenHeight(0), m_nLeft(0), m_nTop(0),
      m_bmBitmap(), m_bmMask(), m_bFirstPaint(TRUE), m_pBits(nullptr), m_pBlended(nullptr) {
    PrepareSplash();
    m_bFirstPaint = TRUE;
    m_strClassName = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW),
                                         nullptr, nullptr);
    // Without an image there is nothing to show: no window at all.
    if (!m_pBits || m_strClassName.empty()) return;
    CreateEx(0, m_strClassName.c_str(), "Marnell", WS_POPUP, m_nLeft, m_nTop, m_nWidth, m_nHeight, nullptr,
             nullptr, nullptr);
}

CSplashWnd::~CSplashWnd() {
    if (m_nWidth > 0 && m_nHeight > 0) {
        const RECT where = {m_nLeft, m_nTop, m_nLeft + m_nWidth, m_nTop + m_nHeight};
        InvalidateRect(GetDesktopWindow(), &where, FALSE);
    }
    if (m_pBlended) GlobalFree(m_pBlended);
    if (m_pBits) GlobalFree(m_pBits);
}

void CSplashWnd::FillHeader(BITMAPINFO& info) const {
    std::memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m_nWidth;
    info.bmiHeader.biHeight = m_nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
}

void CSplashWnd::PrepareSplash() {
    HWND desktop = GetDesktopWindow();
    HDC screenDC = GetWindowDC(desktop);
    m_bitmap.Attach(LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_SPLASH)));
    m_mask.Attach(LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_SPLASH_MASK)));
    if (m_bitmap.m_hObject) m_bitmap.GetObject(sizeof(BITMAP), &m_bmBitmap);
    if (m_mask.m_hObject) m_mask.GetObject(sizeof(BITMAP), &m_bmMask);
    m_nWidth = m_bmBitmap.bmWidth;
    m_nHeight = m_bmBitmap.bmHeight;
    m_nScreenWidth = GetDeviceCaps(screenDC, HORZRES);
    m_nScreenHeight = GetDeviceCaps(screenDC, VERTRES);
    ReleaseDC(desktop, screenDC);
    m_nLeft = SplashCentredOrigin(m_nScreenWidth, m_nWidth);
    m_nTop = SplashCentredOrigin(m_nScreenHeight, m_nHeight);

    if (m_nWidth <= 0 || m_nHeight <= 0) return;
    BITMAPINFO info;
    FillHeader(info);
    HDC dc = GetWindowDC(desktop);
    m_pBits = ReadPixels(dc, m_bitmap, static_cast<UINT>(m_nHeight), info);
    ReleaseDC(desktop, dc);
}

void CSplashWnd::OnPaint() {
    PAINTSTRUCT ps;
    BeginPaint(m_hWnd, &ps);
    if (m_bFirstPaint) {
        PaintSplash(true);
        m_bFirstPaint = FALSE;
    } else {
        PaintSplash(false);
    }
    EndPaint(m_hWnd, &ps);
}

void CSplashWnd::PaintSplash(bool bFirst) {
    if (!m_pBits) return;
    HWND desktop = GetDesktopWindow();
    HDC screenDC = GetWindowDC(desktop);
    HDC memDC = CreateCompatibleDC(screenDC);
    HBITMAP memBitmap = CreateCompatibleBitmap(screenDC, m_nScreenWidth, m_nScreenHeight);
    if (!memDC || !memBitmap) {
        if (memBitmap) DeleteObject(memBitmap);
        if (memDC) DeleteDC(memDC);
        ReleaseDC(desktop, screenDC);
        return;
    }
    HGDIOBJ previous = SelectObject(memDC, memBitmap);
    if (bFirst) BitBlt(memDC, 0, 0, m_nWidth, m_nHeight, screenDC, m_nLeft, m_nTop, SRCCOPY);

    BITMAPINFO info;
    FillHeader(info);
    const UINT lines = static_cast<UINT>(m_nHeight);
    const bool maskFits = m_mask.m_hObject && m_bmMask.bmWidth == m_nWidth && m_bmMask.bmHeight == m_nHeight;
    if (bFirst && maskFits) {
        std::uint8_t* maskBits = ReadPixels(memDC, m_mask, static_cast<UINT>(m_bmMask.bmHeight), info);
        FillHeader(info);
        std::uint8_t* screenBits = ReadPixels(memDC, memBitmap, lines, info);
        const std::size_t needed = SplashBufferSize(m_nWidth, m_nHeight);
        if (maskBits && screenBits && info.bmiHeader.biSizeImage >= needed) {
            BlendSplashImage(m_nWidth, m_nHeight, m_pBits, maskBits, screenBits);
            SetDIBits(memDC, memBitmap, 0, lines, screenBits, &info, DIB_RGB_COLORS);
            m_pBlended = screenBits;  // kept, so later paints show the same picture
            screenBits = nullptr;
        } else {
            SetDIBits(memDC, memBitmap, 0, lines, m_pBits, &info, DIB_RGB_COLORS);
        }
        if (maskBits) GlobalFree(maskBits);
        if (screenBits) GlobalFree(screenBits);
    } else {
        SetDIBits(memDC, memBitmap, 0, lines, m_pBlended ? m_pBlended : m_pBits, &info, DIB_RGB_COLORS);
    }

    HDC windowDC = GetDC(m_hWnd);
    BitBlt(windowDC, 0, 0, m_nWidth, m_nHeight, memDC, 0, 0, SRCCOPY);
    ReleaseDC(m_hWnd, windowDC);

    SelectObject(memDC, previous);
    DeleteObject(memBitmap);
    DeleteDC(memDC);
    ReleaseDC(desktop, screenDC);
}
