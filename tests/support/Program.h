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
void SetText(HWND window, const std::wstring& text);
// Sent, so that the window has handled it on return; false when it did not
// return in time, as when the handler shows a modal box.
bool Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, DWORD timeoutMs = 60000);
// Keyboard input posted to the control, as the system posts it to the focus.
void PressKey(HWND target, UINT virtualKey);
void TypeText(HWND target, const std::wstring& text);
// A left click that gives the control the focus.
void ClickInto(HWND control);
// The texts of a dialog's static controls.
std::vector<std::wstring> StaticTexts(HWND dialog);
RECT WindowRect(HWND window);
bool IsTopMost(HWND window);

class Ortelan
{
public:
    // Starts the program and waits for its main window to be shown; Frame()
    // is null when none came. The system places the window at 50, 60.
    explicit Ortelan(int showCommand = SW_SHOWNORMAL, const std::wstring& arguments = L"");
    // A program still running is ended.
    ~Ortelan();
    Ortelan(const Ortelan&) = delete;
    Ortelan& operator=(const Ortelan&) = delete;

    HWND Frame() const { return m_frame; }
    DWORD ThreadId() const { return m_info.dwThreadId; }
    // The panel dialog that holds the control, and the control itself.
    HWND Panel(int controlId) const;
    HWND Control(int controlId) const;
    std::wstring TextOf(int controlId) const { return Text(Control(controlId)); }
    // A menu choice, posted as the menu posts it.
    void Choose(UINT commandId) const;
    // A menu choice made with the keys, Alt and the menu's letter, then the
    // item's: a greyed item is not chosen.
    void ChooseByKeys(wchar_t menu, wchar_t item) const;
    // A click on a push button, handled when this returns.
    void Press(int buttonId) const { Send(Control(buttonId), BM_CLICK); }
    // The control with the keyboard focus.
    HWND Focus() const;

    // A shown dialog of the program (message box, About box) with this
    // caption, or any when it is empty; null when none appears in time.
    HWND WaitForDialog(const std::wstring& caption) const;
    // Waits for a message box, checks its text and buttons and clicks the
    // answer.
    void Answer(const std::wstring& text, std::initializer_list<int> buttons, int answer) const;

    // Asks the frame to close, as its close box does, and waits for the end.
    bool Close();
    bool WaitForExit();
    DWORD ExitCode() const;

private:
    PROCESS_INFORMATION m_info = {};
    HWND m_frame = nullptr;
};

// The main windows of every running instance of the program.
std::vector<HWND> AllFrames();

} // namespace support
