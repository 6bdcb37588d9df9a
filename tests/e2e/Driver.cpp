#include "Driver.h"

#include "tests/support/WinePaths.h"

namespace e2e {

std::wstring ProgramPath()
{
    return HostPathFromEnvironment("ORTELAN_EXE");
}

OrtelanProcess::~OrtelanProcess()
{
    if (m_info.hProcess != nullptr)
    {
        if (::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT)
        {
            ::TerminateProcess(m_info.hProcess, 99);
            ::WaitForSingleObject(m_info.hProcess, 5000);
        }
        ::CloseHandle(m_info.hProcess);
        ::CloseHandle(m_info.hThread);
    }
}

bool OrtelanProcess::Start(const std::wstring& arguments, int showCommand)
{
    std::wstring path = ProgramPath();
    if (path.empty())
        return false;
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    if (!::CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &m_info))
        return false;

    return WaitUntil([this] {
        for (HWND frame : TopLevelWindows(L"OT_MainFrame"))
        {
            if (::IsWindowVisible(frame))
            {
                m_frame = frame;
                return true;
            }
        }
        return false;
    }, 15000);
}

namespace {

struct EnumState
{
    DWORD processId;
    LPCWSTR className;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param)
{
    auto* state = reinterpret_cast<EnumState*>(param);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != state->processId)
        return TRUE;
    WCHAR className[64] = L"";
    ::GetClassNameW(window, className, 64);
    if (state->className == nullptr || lstrcmpiW(className, state->className) == 0)
        state->found->push_back(window);
    return TRUE;
}

struct ControlSearch
{
    int id;
    HWND found;
};

BOOL CALLBACK FindPanelWithControl(HWND child, LPARAM param)
{
    auto* search = reinterpret_cast<ControlSearch*>(param);
    if (::GetDlgItem(child, search->id) != nullptr)
    {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::vector<HWND> OrtelanProcess::TopLevelWindows(LPCWSTR className) const
{
    std::vector<HWND> found;
    EnumState state = {m_info.dwProcessId, className, &found};
    ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&state));
    return found;
}

HWND OrtelanProcess::Panel(int controlId) const
{
    ControlSearch search = {controlId, nullptr};
    ::EnumChildWindows(m_frame, FindPanelWithControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND OrtelanProcess::Control(int controlId) const
{
    HWND panel = Panel(controlId);
    return panel != nullptr ? ::GetDlgItem(panel, controlId) : nullptr;
}

HWND OrtelanProcess::WaitForDialog(const std::wstring& caption, DWORD timeoutMs) const
{
    HWND dialog = nullptr;
    WaitUntil([&] {
        for (HWND window : TopLevelWindows(L"#32770"))
        {
            if (::IsWindowVisible(window) && Text(window) == caption)
            {
                dialog = window;
                return true;
            }
        }
        return false;
    }, timeoutMs);
    return dialog;
}

bool OrtelanProcess::Close(DWORD timeoutMs)
{
    if (m_frame != nullptr)
        ::PostMessageW(m_frame, WM_CLOSE, 0, 0);
    return WaitForExit(timeoutMs);
}

bool OrtelanProcess::WaitForExit(DWORD timeoutMs)
{
    return m_info.hProcess != nullptr && ::WaitForSingleObject(m_info.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD OrtelanProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    for (;;)
    {
        if (condition())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(20);
    }
}

std::wstring Text(HWND window)
{
    WCHAR buffer[1024] = L"";
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK,
                               5000, &length))
        return std::wstring();
    return std::wstring(buffer, length);
}

void SetText(HWND window, const std::wstring& text)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK, 5000,
                          &result);
}

namespace {

BOOL CALLBACK CollectStatics(HWND child, LPARAM param)
{
    WCHAR className[32] = L"";
    ::GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, L"Static") == 0)
        reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(Text(child));
    return TRUE;
}

} // namespace

std::vector<std::wstring> StaticTexts(HWND dialog)
{
    std::vector<std::wstring> texts;
    ::EnumChildWindows(dialog, CollectStatics, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void Click(HWND button)
{
    ::PostMessageW(button, BM_CLICK, 0, 0);
}

void ChooseMenu(HWND frame, UINT commandId)
{
    ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

void PressKey(HWND target, UINT virtualKey)
{
    UINT scan = ::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    ::PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    if (virtualKey == VK_RETURN)
        ::PostMessageW(target, WM_CHAR, L'\r', 1 | (scan << 16));
    ::PostMessageW(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000);
}

void TypeText(HWND target, const std::wstring& text)
{
    for (wchar_t c : text)
        ::PostMessageW(target, WM_CHAR, c, 1);
}

void ClickInto(HWND control)
{
    ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

HWND FocusOf(DWORD threadId)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(threadId, &info))
        return nullptr;
    return info.hwndFocus;
}

RECT ClientRectOnScreen(HWND window)
{
    RECT rc = {};
    ::GetClientRect(window, &rc);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

RECT WindowRect(HWND window)
{
    RECT rc = {};
    ::GetWindowRect(window, &rc);
    return rc;
}

} // namespace e2e
