#pragma once

#include "Framework.h"

// Lives as long as the splash should: construction starts the splash thread,
// destruction asks it to quit without waiting for it.
class CSplashClass : public CObject {
    DECLARE_DYNAMIC(CSplashClass)
public:
    CSplashClass();
    ~CSplashClass() override;
    CSplashClass(const CSplashClass&) = delete;
    CSplashClass& operator=(const CSplashClass&) = delete;

    CWinThread* m_pThread;  // not owned: deletes itself when its thread ends
};
