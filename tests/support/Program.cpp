#include "Program.h"

#include "Files.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace support {

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(20);
    }
    return true;
}

std::wstring Text(HWND window)
{
    WCHAR buffer[1024] = L"";
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 5000, &length))
        return std::wstring();
    return std::wstring(buffer, length);
}

void PressKey(HWND target, UINT virtualKey)
{
    LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | scan);
    if (virtualKey == VK_RETURN)
        ::PostMessageW(target, WM_CHAR, L'\r', 1 | scan);
    ::PostMessageW(target, WM_KEYUP, virtualKey, 1 | scan | 0xC0000000);
}

namespace {

// Top-level windows of one process, or of every process when it is 0.
std::vector<HWND> TopLevelWindows(DWORD processId, LPCWSTR className)
{
    std::vector<HWND> found;
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, className, nullptr)) != nullptr)
    {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if ((processId == 0 || owner == processId) && ::IsWindowVisible(window))
            found.push_back(window);
    }
    return found;
}

} // namespace

std::vector<HWND> AllFrames()
{
    return TopLevelWindows(0, L"OT_MainFrame");
}

Ortelan::Ortelan(int showCommand, const std::wstring& arguments)
{
    std::wstring path = HostPathFromEnvironment("ORTELAN_EXE");
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USEPOSITION;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    startup.dwX = 50;
    startup.dwY = 60;
    if (!::CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &m_info))
        return;
    WaitUntil([this] {
        std::vector<HWND> frames = TopLevelWindows(m_info.dwProcessId, L"OT_MainFrame");
        m_frame = frames.empty() ? nullptr : frames[0];
        return m_frame != nullptr;
    }, 15000);
}

Ortelan::~Ortelan()
{
    if (::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT)
    {
        ::TerminateProcess(m_info.hProcess, 99);
        ::WaitForSingleObject(m_info.hProcess, 5000);
    }
    ::CloseHandle(m_info.hProcess);
    ::CloseHandle(m_info.hThread);
}

HWND Ortelan::Panel(int controlId) const
{
    for (HWND child = ::GetWindow(m_frame, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        if (::GetDlgItem(child, controlId) != nullptr)
            return child;
    }
    return nullptr;
}

void Ortelan::ChooseByKeys(wchar_t menu, wchar_t item) const
{
    // The menu opens its popup (class #32768) later, from a key it posts
    // itself; the item's key must come after it.
    auto open = [this] { return !TopLevelWindows(m_info.dwProcessId, L"#32768").empty(); };
    ::PostMessageW(m_frame, WM_SYSCOMMAND, SC_KEYMENU, menu);
    WaitUntil(open);
    ::PostMessageW(m_frame, WM_CHAR, item, 1);
    WaitUntil([&] { return !open(); });
}

HWND Ortelan::Focus() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(m_info.dwThreadId, &info) ? info.hwndFocus : nullptr;
}

HWND Ortelan::WaitForDialog(const std::wstring& caption) const
{
    HWND dialog = nullptr;
    WaitUntil([&] {
        for (HWND window : TopLevelWindows(m_info.dwProcessId, L"#32770"))
        {
            if (Text(window) == caption)
                dialog = window;
        }
        return dialog != nullptr;
    });
    return dialog;
}

void Ortelan::Answer(const std::wstring& text, std::initializer_list<int> buttons, int answer) const
{
    HWND box = WaitForDialog(L"Ortelan");
    ASSERT_NE(nullptr, box) << "no message box";
    bool shown = false;
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        shown = shown || Text(child) == text;
    EXPECT_TRUE(shown) << "the box does not say what it should";
    for (int button : {IDOK, IDCANCEL, IDYES, IDNO})
    {
        HWND item = ::GetDlgItem(box, button);
        bool expected = std::find(buttons.begin(), buttons.end(), button) != buttons.end();
        EXPECT_EQ(expected, item != nullptr && ::IsWindowVisible(item)) << "button " << button;
    }
    ::PostMessageW(::GetDlgItem(box, answer), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
}

DWORD Ortelan::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

} // namespace support
