#pragma once
// Watches the working directory for saves of the layout file and of
// exclude.txt, so that a saved file takes effect without the dialog. A small
// thread waits on the directory's change notification and tells a hidden
// window on the main thread, which waits for the files to be quiet
// (QuietPeriod) and then tells the listener which of them changed. Nothing
// polls; a timer runs only while a save is settling.

#include <windows.h>

#include <string>
#include <thread>

#include "Framework.h"
#include "QuietPeriod.h"

// What the watch tells the one who owns the files.
class ConfigFileListener {
public:
    // `layoutChanged`: default.vmap differs from when it was last taken (it
    // may be gone, or locked for longer than the retries wait);
    // `excludeChanged` the same for exclude.txt.
    virtual void OnConfigFilesSaved(bool layoutChanged, bool excludeChanged) = 0;

protected:
    ~ConfigFileListener() = default;
};

class CConfigFileWatch : public CWnd {
public:
    static CConfigFileWatch& Instance();

    // From now on `listener` hears of saves; the files as they are now count
    // as taken. Starts the watch of the working directory on first use, and
    // anew when the working directory is another than the one watched.
    void Listen(ConfigFileListener* listener);
    void StopFor(ConfigFileListener* listener);
    // Ends the watching thread.
    void Stop();
    ~CConfigFileWatch() override;

    // A file's size and time of last write; `exists` false when it is not there.
    struct Stamp {
        bool exists = false;
        ULONGLONG size = 0;
        FILETIME written = {};
        bool operator==(const Stamp& other) const;
    };
    static Stamp StampOf(const wchar_t* path);

protected:
    DECLARE_MESSAGE_MAP()

private:
    CConfigFileWatch() = default;

    void Run(HANDLE change, std::wstring directory);
    void EndThread();
    LRESULT OnDirectoryChanged(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR nIDEvent);
    void ArmTimer();
    void Take();

    HANDLE m_stop = nullptr;
    std::thread m_thread;
    std::wstring m_directory;  // the one watched
    ConfigFileListener* m_listener = nullptr;
    QuietPeriod m_quiet;
    COneShotTimer m_quietWait{*this, 1};
    Stamp m_layout, m_exclude;
};
