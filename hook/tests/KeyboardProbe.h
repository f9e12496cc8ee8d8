#pragma once
// A focused window of the test process and a low-level keyboard hook behind the
// one under test: together they show what the hook let through, what it
// swallowed and which characters it typed, as Windows delivered them.

#include <windows.h>

#include <vector>

struct WindowKeyMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// An event as it reached the next hook in the chain.
struct ChainedEvent {
    int nCode;
    WPARAM wParam;
    KBDLLHOOKSTRUCT event;
};

class KeyboardProbe {
public:
    // Focuses the window and installs the hook that sits behind
    // every hook installed later.
    KeyboardProbe();
    // Removes the hook, then releases every key still down.
    ~KeyboardProbe();
    KeyboardProbe(const KeyboardProbe&) = delete;
    KeyboardProbe& operator=(const KeyboardProbe&) = delete;

    bool HasFocus() const;
    void Focus();

    void Press(WORD vk);
    void Release(WORD vk);
    void Tap(WORD vk);

    // Waits, bounded, until every key sent so far has been through the hooks
    // and the window: a marker key sent last must arrive. False on time-out.
    bool Settle();
    void Clear();

    // Key and character messages of the window and events of the chain, with
    // the marker's own removed.
    const std::vector<WindowKeyMessage>& Messages() const;
    const std::vector<ChainedEvent>& Chained() const;

    int CountMessages(UINT message, WPARAM wParam) const;
    // The characters of WM_CHAR, in order.
    std::vector<WPARAM> Characters() const;
    bool ChainSaw(WPARAM wParam, DWORD vkCode) const;

private:
    HWND m_hWnd = nullptr;
    HHOOK m_hHook = nullptr;
    std::vector<WORD> m_pressed;
};
