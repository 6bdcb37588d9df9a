#include "framework/MessageLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring g_log;
std::vector<UINT> g_script;
size_t g_calls = 0;

// Every other call fails, as GetMessageW may; the others give the script's
// messages for the logging window, then WM_QUIT with code 7.
BOOL WINAPI ScriptedGetMessage(LPMSG msg, HWND, UINT, UINT)
{
    if (g_calls++ % 2 == 0)
        return -1;
    *msg = MSG();
    size_t index = g_calls / 2 - 1;
    if (index >= g_script.size())
    {
        msg->message = WM_QUIT;
        msg->wParam = 7;
        return FALSE;
    }
    msg->hwnd = ::FindWindowW(L"Test_Logging", nullptr);
    msg->message = g_script[index];
    return TRUE;
}

LRESULT CALLBACK LoggingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER)
        g_log += L'D';
    return ::DefWindowProcW(window, message, wParam, lParam);
}

class LoggingFilter : public CMessageFilter
{
public:
    LoggingFilter(wchar_t name, UINT consumes) : m_name(name), m_consumes(consumes) {}
    BOOL PreTranslateMessage(MSG* msg) override
    {
        g_log += m_name;
        return msg->message == m_consumes;
    }

private:
    wchar_t m_name;
    UINT m_consumes;
};

TEST(MessageLoop, SkipsErrorsOffersNewestFilterFirstAndDispatchesTheRest)
{
    WNDCLASSW logging = {};
    logging.lpfnWndProc = LoggingProc;
    logging.hInstance = ::GetModuleHandleW(nullptr);
    logging.lpszClassName = L"Test_Logging";
    ::RegisterClassW(&logging);
    HWND window = ::CreateWindowExW(0, L"Test_Logging", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);

    g_script = {WM_USER + 1, WM_USER + 2, WM_USER + 3};
    LoggingFilter older(L'a', WM_USER + 1);
    LoggingFilter newer(L'b', WM_USER + 2);
    LoggingFilter removed(L'c', 0);
    CMessageLoop loop(ScriptedGetMessage);
    loop.AddMessageFilter(&older);
    loop.AddMessageFilter(&newer);
    loop.AddMessageFilter(&removed);
    EXPECT_TRUE(loop.RemoveMessageFilter(&removed));

    EXPECT_EQ(7, loop.Run());
    // First message: b passes it, a consumes it. Second: b consumes it.
    // Third: neither does, and it reaches the window.
    EXPECT_EQ(L"babbaD", g_log);
    ::DestroyWindow(window);
}

} // namespace
