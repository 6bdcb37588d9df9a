#pragma once

#include "Files.h"

#include "res/resource.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Drives a running Ortelan.exe from outside, as a user would: it finds the
// program's windows, reads what they show, types, clicks, chooses menu
// commands and answers its message boxes, all through window messages.
namespace support {

// How long any wait for the program lasts before it counts as failed: ample
// on a machine twenty times slower than a desktop, as under emulation, and
// spent only when the test fails anyway.
constexpr DWORD kPatienceMs = 120000;

// Polls until the condition holds; false on time-out. A condition that
// costs much to look at, polled more slowly, takes less of the time it waits
// for from the program.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kPatienceMs, DWORD pollMs = 20)
{
    for (DWORD start = ::GetTickCount(); !condition(); ::Sleep(pollMs))
    {
        if (::GetTickCount() - start > timeoutMs)
            return false;
    }
    return true;
}

// Sent, so that the window has handled it on return; false when it did not
// return in time, as when the handler shows a modal box.
inline bool Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, DWORD timeoutMs = kPatienceMs,
                 DWORD_PTR* result = nullptr)
{
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK, timeoutMs, result ? result : &ignored);
}

// Sent, and what the window answered; 0 when it did not answer in time.
inline DWORD_PTR Sent(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    return Send(window, message, wParam, lParam, kPatienceMs, &result) ? result : 0;
}

inline std::wstring Text(HWND window)
{
    WCHAR buffer[1024] = L"";
    return std::wstring(buffer, Sent(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer)));
}

inline void SetText(HWND window, const std::wstring& text)
{
    Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Keys posted to the control, as the system posts them to the focus.
inline void PressKey(HWND target, UINT virtualKey)
{
    LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | scan);
    if (virtualKey == VK_RETURN)
        ::PostMessageW(target, WM_CHAR, L'\r', 1 | scan);
    ::PostMessageW(target, WM_KEYUP, virtualKey, 1 | scan | 0xC0000000);
}

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

// Whether one of the window's controls shows the text.
inline bool Says(HWND window, const std::wstring& text)
{
    HWND child = ::GetWindow(window, GW_CHILD);
    while (child != nullptr && Text(child) != text)
        child = ::GetWindow(child, GW_HWNDNEXT);
    return child != nullptr;
}

// The percentage the performance panel's CPU line shows, or -1 when it does
// not read as one.
inline int CpuPercent(const std::wstring& text)
{
    int percent = -1;
    swscanf(text.c_str(), L"CPU使用率: %d", &percent);
    return text == L"CPU使用率: " + std::to_wstring(percent) + L"%" ? percent : -1;
}

inline RECT WindowRect(HWND window)
{
    RECT rc = {};
    return ::GetWindowRect(window, &rc), rc;
}

inline bool IsTopMost(HWND window) { return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Top-level windows of the class, of one process or of all when 0; only
// those shown unless hidden ones are asked for too.
inline std::vector<HWND> TopLevelWindows(LPCWSTR className, DWORD processId = 0, bool hiddenToo = false)
{
    std::vector<HWND> found;
    for (HWND window = nullptr; (window = ::FindWindowExW(nullptr, window, className, nullptr)) != nullptr;)
    {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if ((processId == 0 || owner == processId) && (hiddenToo || ::IsWindowVisible(window)))
            found.push_back(window);
    }
    return found;
}

class Ortelan
{
public:
    // Starts the program and waits for its main window; Frame() is null when
    // none came. Where the system places the window, it is at 50, 60. It runs
    // in a job, which the instances it starts join, so that none outlives it.
    explicit Ortelan(int showCommand = SW_SHOWNORMAL, const std::wstring& arguments = L"")
    {
        std::wstring path = HostPathFromEnvironment("ORTELAN_EXE");
        std::wstring commandLine = L"\"" + path + L"\" " + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USEPOSITION;
        startup.wShowWindow = static_cast<WORD>(showCommand);
        startup.dwX = 50;
        startup.dwY = 60;
        if (::CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                             nullptr, &startup, &m_info) &&
            ::AssignProcessToJobObject(m_job, m_info.hProcess) && ::ResumeThread(m_info.hThread) != DWORD(-1))
            WaitUntil([this] { return (m_frame = Find(L"OT_MainFrame")) != nullptr; });
    }
    // A program still running is ended, with every instance it started.
    ~Ortelan()
    {
        ::TerminateJobObject(m_job, 99);
        ::TerminateProcess(m_info.hProcess, 99);
        ::WaitForSingleObject(m_info.hProcess, kPatienceMs);
        ::CloseHandle(m_info.hProcess);
        ::CloseHandle(m_info.hThread);
        ::CloseHandle(m_job);
    }
    Ortelan(const Ortelan&) = delete;
    Ortelan& operator=(const Ortelan&) = delete;

    HWND Frame() const { return m_frame; }
    // The panel dialog that holds the control, and the control itself.
    HWND Panel(int controlId) const
    {
        HWND panel = ::GetWindow(m_frame, GW_CHILD);
        while (panel != nullptr && ::GetDlgItem(panel, controlId) == nullptr)
            panel = ::GetWindow(panel, GW_HWNDNEXT);
        return panel;
    }
    HWND Control(int controlId) const { return ::GetDlgItem(Panel(controlId), controlId); }
    // The panels shown, a letter each in their fixed order (memory, disk,
    // performance), checked to fill the client area from its top without gaps,
    // which is as wide as any panel even when none is shown.
    std::string Stack() const
    {
        RECT client = {};
        ::GetClientRect(m_frame, &client);
        ::MapWindowPoints(m_frame, nullptr, reinterpret_cast<POINT*>(&client), 2);
        std::string shown;
        LONG y = client.top;
        for (int control : {IDC_MEMORY_AMOUNT, IDC_DISK_SIZE, IDC_PERF_CPU})
        {
            RECT rc = WindowRect(Panel(control));
            EXPECT_EQ(rc.right - rc.left, client.right - client.left) << control;
            if (!::IsWindowVisible(Panel(control)))
                continue;
            shown += "MDP"[control == IDC_MEMORY_AMOUNT ? 0 : control == IDC_DISK_SIZE ? 1 : 2];
            EXPECT_TRUE(rc.top == y && rc.left == client.left) << control;
            y = rc.bottom;
        }
        EXPECT_EQ(y, client.bottom);
        return shown;
    }
    std::wstring TextOf(int controlId) const { return Text(Control(controlId)); }
    // A click on a push button, handled when this returns.
    void Press(int buttonId) const { Send(Control(buttonId), BM_CLICK); }
    // A menu command, posted as the menu posts it.
    void Choose(UINT commandId) const { ::PostMessageW(m_frame, WM_COMMAND, commandId, 0); }
    // A menu choice made with the keys, Alt and the menu's letter, then the
    // item's, as a user makes it: a greyed item is not chosen. The menu opens
    // its popup (#32768) from a key it posts itself, so the item's key waits
    // for it; this returns once the menu is closed.
    void ChooseByKeys(wchar_t menu, wchar_t item) const
    {
        ::PostMessageW(m_frame, WM_SYSCOMMAND, SC_KEYMENU, menu);
        WaitUntil([this] { return Find(L"#32768") != nullptr; });
        ::PostMessageW(m_frame, WM_CHAR, item, 1);
        WaitUntil([this] { return Find(L"#32768") == nullptr; });
    }
    HWND Focus() const
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        return ::GetGUIThreadInfo(m_info.dwThreadId, &info) ? info.hwndFocus : nullptr;
    }
    // A shown dialog of the program with this caption (any, if empty), or null.
    HWND WaitForDialog(const std::wstring& caption) const
    {
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = Find(L"#32770", caption)) != nullptr; });
        return dialog;
    }
    // Waits for a message box, checks its text and buttons, clicks the answer.
    void Answer(const std::wstring& text, std::initializer_list<int> buttons, int answer) const
    {
        HWND box = WaitForDialog(L"Ortelan");
        ASSERT_NE(nullptr, box) << "no message box";
        EXPECT_TRUE(Says(box, text)) << "the box does not say what it should";
        for (int button : {IDOK, IDCANCEL, IDYES, IDNO})
        {
            bool expected = std::find(buttons.begin(), buttons.end(), button) != buttons.end();
            EXPECT_EQ(expected, ::IsWindowVisible(::GetDlgItem(box, button)) != FALSE) << "button " << button;
        }
        ::PostMessageW(::GetDlgItem(box, answer), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
    }
    // Selects the folder in the folder browser, opening each item on the way
    // as a user does; items are known by the names the shell gives them, their
    // texts read through a buffer placed in the program. False if one is missing.
    bool SelectFolder(HWND browser, const std::wstring& folder) const
    {
        std::vector<std::wstring> names;
        PIDLIST_ABSOLUTE path = ::ILCreateFromPathW(folder.c_str());
        for (SHFILEINFOW info = {}; !ILIsEmpty(path); ::ILRemoveLastID(path))
        {
            ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(path), 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_DISPLAYNAME);
            names.insert(names.begin(), info.szDisplayName);
        }
        ::ILFree(path);
        HWND tree = ::FindWindowExW(browser, nullptr, L"SysTreeView32", nullptr);
        auto* remote = static_cast<TVITEMW*>(::VirtualAllocEx(m_info.hProcess, nullptr,
                                                              sizeof(TVITEMW) + sizeof(WCHAR[MAX_PATH]), MEM_COMMIT, PAGE_READWRITE));
        auto* remoteText = reinterpret_cast<LPWSTR>(remote + 1);
        LPARAM item = Sent(tree, TVM_GETNEXTITEM, TVGN_ROOT);
        for (auto name = names.begin(); item != 0 && name != names.end(); ++name)
        {
            Sent(tree, TVM_EXPAND, TVE_EXPAND, item);
            for (item = Sent(tree, TVM_GETNEXTITEM, TVGN_CHILD, item); item != 0;
                 item = Sent(tree, TVM_GETNEXTITEM, TVGN_NEXT, item))
            {
                TVITEMW read = {TVIF_TEXT, reinterpret_cast<HTREEITEM>(item), 0, 0, remoteText, MAX_PATH, 0, 0, 0, 0};
                WCHAR text[MAX_PATH] = L"";
                ::WriteProcessMemory(m_info.hProcess, remote, &read, sizeof(read), nullptr);
                Sent(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
                ::ReadProcessMemory(m_info.hProcess, remoteText, text, sizeof(text), nullptr);
                if (*name == text)
                    break;
            }
        }
        ::VirtualFreeEx(m_info.hProcess, remote, 0, MEM_RELEASE);
        return item != 0 && Sent(tree, TVM_SELECTITEM, TVGN_CARET, item);
    }
    // Asks the frame to close, as its close box does, and waits for the end.
    bool Close() const { return ::PostMessageW(m_frame, WM_CLOSE, 0, 0) && WaitForExit(); }
    bool WaitForExit() const { return ::WaitForSingleObject(m_info.hProcess, kPatienceMs) == WAIT_OBJECT_0; }
    DWORD ExitCode() const
    {
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }

private:
    // The program's first shown window of the class (and caption, if given).
    HWND Find(LPCWSTR className, const std::wstring& caption = L"") const
    {
        std::vector<HWND> found = TopLevelWindows(className, m_info.dwProcessId);
        auto match = std::find_if(found.begin(), found.end(),
                                  [&](HWND window) { return caption.empty() || Text(window) == caption; });
        return match != found.end() ? *match : nullptr;
    }

    HANDLE m_job = ::CreateJobObjectW(nullptr, nullptr);
    PROCESS_INFORMATION m_info = {};
    HWND m_frame = nullptr;
};

} // namespace support
