#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Drives a running Ortelan.exe from outside, as a user would: it finds the
// program's windows, reads what they show, types, clicks and chooses menu
// commands, all through window messages.
namespace e2e {

// The program under test (ORTELAN_EXE, a host path set by the build).
std::wstring ProgramPath();

class OrtelanProcess
{
public:
    OrtelanProcess() = default;
    ~OrtelanProcess();
    OrtelanProcess(const OrtelanProcess&) = delete;
    OrtelanProcess& operator=(const OrtelanProcess&) = delete;

    // Starts the program with an optional command line tail and waits for
    // its main window to be shown.
    bool Start(const std::wstring& arguments = L"", int showCommand = SW_SHOWNORMAL);

    HWND Frame() const { return m_frame; }
    DWORD ProcessId() const { return m_info.dwProcessId; }
    DWORD ThreadId() const { return m_info.dwThreadId; }
    HANDLE Process() const { return m_info.hProcess; }

    // The panel dialog that holds the control with this identifier.
    HWND Panel(int controlId) const;
    HWND Control(int controlId) const;

    // A shown top-level dialog of the program (message box, About box) whose
    // caption is the given text; null when none appears in time.
    HWND WaitForDialog(const std::wstring& caption, DWORD timeoutMs = 5000) const;
    std::vector<HWND> TopLevelWindows(LPCWSTR className) const;

    // Asks the frame to close (WM_CLOSE) and waits for the process to end.
    bool Close(DWORD timeoutMs = 10000);
    bool WaitForExit(DWORD timeoutMs);
    DWORD ExitCode() const;

private:
    PROCESS_INFORMATION m_info = {};
    HWND m_frame = nullptr;
};

// Polls until the condition holds; false on time-out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

std::wstring Text(HWND window);
void SetText(HWND window, const std::wstring& text);

// The texts of the static controls of a dialog, in child order.
std::vector<std::wstring> StaticTexts(HWND dialog);

// A click on a push button. Posted, so it also works for buttons that open a
// modal box; wait for its effect with WaitUntil.
void Click(HWND button);

// A menu choice of the frame.
void ChooseMenu(HWND frame, UINT commandId);

// Keyboard input posted to the control, as the system posts it to the focus.
void PressKey(HWND target, UINT virtualKey);
void TypeText(HWND target, const std::wstring& text);

// A left click that gives the control the focus.
void ClickInto(HWND control);

// The control that has the keyboard focus in the given thread.
HWND FocusOf(DWORD threadId);

// The frame's client rectangle in screen coordinates.
RECT ClientRectOnScreen(HWND window);
RECT WindowRect(HWND window);

} // namespace e2e
