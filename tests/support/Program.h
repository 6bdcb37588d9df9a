#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Drives a running Ortelan.exe from outside, as a user would: it finds the
// program's windows, reads what they show, types, clicks, chooses menu
// commands and answers its message boxes, all through window messages.
namespace support {

// Polls until the condition holds; false on time-out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
std::wstring Text(HWND window);
// Sent, so that the window has handled it on return; false when it did not
// return in time, as when the handler shows a modal box.
inline bool Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, DWORD timeoutMs = 60000)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK, timeoutMs, &result) != 0;
}
inline void SetText(HWND window, const std::wstring& text)
{
    Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
// Keys posted to the control, as the system posts them to the focus.
void PressKey(HWND target, UINT virtualKey);
inline void TypeText(HWND target, const std::wstring& text)
{
    for (wchar_t c : text)
        ::PostMessageW(target, WM_CHAR, c, 1);
}
// A left click, which gives the control the focus.
inline void ClickInto(HWND control)
{
    ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    ::PostMessageW(control, WM_LBUTTONUP, 0, 0);
}
inline RECT WindowRect(HWND window)
{
    RECT rc = {};
    ::GetWindowRect(window, &rc);
    return rc;
}
inline bool IsTopMost(HWND window) { return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
// The main windows of every running instance of the program.
std::vector<HWND> AllFrames();

class Ortelan
{
public:
    // Starts the program and waits for its main window; Frame() is null when
    // none came. Where the system places the window, it is at 50, 60.
    explicit Ortelan(int showCommand = SW_SHOWNORMAL, const std::wstring& arguments = L"");
    // A program still running is ended.
    ~Ortelan();
    Ortelan(const Ortelan&) = delete;
    Ortelan& operator=(const Ortelan&) = delete;

    HWND Frame() const { return m_frame; }
    // The panel dialog that holds the control, and the control itself.
    HWND Panel(int controlId) const;
    HWND Control(int controlId) const { return ::GetDlgItem(Panel(controlId), controlId); }
    std::wstring TextOf(int controlId) const { return Text(Control(controlId)); }
    // A menu command, posted as the menu posts it.
    void Choose(UINT commandId) const { ::PostMessageW(m_frame, WM_COMMAND, commandId, 0); }
    // A menu choice made with the keys, Alt and the menu's letter, then the
    // item's, as a user makes it: a greyed item is not chosen. Returns once
    // the menu is closed.
    void ChooseByKeys(wchar_t menu, wchar_t item) const;
    // A click on a push button, handled when this returns.
    void Press(int buttonId) const { Send(Control(buttonId), BM_CLICK); }
    HWND Focus() const;
    // A shown dialog of the program with this caption; null when none
    // appears in time.
    HWND WaitForDialog(const std::wstring& caption) const;
    // Waits for a message box, checks its text and buttons, clicks the answer.
    void Answer(const std::wstring& text, std::initializer_list<int> buttons, int answer) const;
    // Asks the frame to close, as its close box does, and waits for the end.
    bool Close() const { return ::PostMessageW(m_frame, WM_CLOSE, 0, 0) && WaitForExit(); }
    bool WaitForExit() const { return ::WaitForSingleObject(m_info.hProcess, 15000) == WAIT_OBJECT_0; }
    DWORD ExitCode() const;

private:
    PROCESS_INFORMATION m_info = {};
    HWND m_frame = nullptr;
};

} // namespace support
