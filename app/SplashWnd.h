#pragma once

#include <cstdint>
#include <string>

#include "Framework.h"

// The borderless splash window: the image blended once over what the screen
// showed beneath it, weighted by the mask.
class CSplashWnd : public CWnd {
    DECLARE_DYNAMIC(CSplashWnd)
public:
    CSplashWnd();
    ~CSplashWnd() override;

    void OnPaint();

    CBitmap m_bitmap;
    CBitmap m_mask;
    int m_nWidth;
    int m_nHeight;
    int m_nScreenWidth;
    int m_nScreenHeight;
    int m_nLeft;
    int m_nTop;
    BITMAP m_bmBitmap;
    BITMAP m_bmMask;
    BOOL m_bFirstPaint;
    std::string m_strClassName;
    std::uint8_t* m_pBits;     // the image as 24-bit pixels
    std::uint8_t* m_pBlended;  // the first paint's result, shown by every later paint

protected:
    void PrepareSplash();
    void PaintSplash(bool bFirst);
    void FillHeader(BITMAPINFO& info) const;

    DECLARE_MESSAGE_MAP()
};
