#include "framework/MessageLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<MSG> g_script;
size_t g_calls = 0;
std::wstring g_log;

// Every other call fails, as GetMessageW may; the others give the script's
// messages, then WM_QUIT with code 7.
BOOL WINAPI ScriptedGetMessage(LPMSG msg, HWND, UINT, UINT)
{
    if (g_calls++ % 2 == 0)
        return -1;
    size_t index = g_calls / 2 - 1;
    *msg = index < g_script.size() ? g_script[index] : MSG{nullptr, WM_QUIT, 7, 0, 0, {}};
    return msg->message != WM_QUIT;
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
    HWND edit = ::CreateWindowExW(0, L"Edit", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, edit);
    g_script = {{edit, WM_USER + 1, 0, 0, 0, {}},
                {edit, WM_USER + 2, 0, 0, 0, {}},
                {edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"dispatched"), 0, {}}};
    LoggingFilter older(L'a', WM_USER + 1);
    LoggingFilter newer(L'b', WM_USER + 2);
    LoggingFilter removed(L'c', 0);
    CMessageLoop loop(ScriptedGetMessage);
    loop.AddMessageFilter(&older);
    loop.AddMessageFilter(&newer);
    loop.AddMessageFilter(&removed);
    EXPECT_TRUE(loop.RemoveMessageFilter(&removed));

    EXPECT_EQ(7, loop.Run());
    // The first message passes b and is consumed by a; b consumes the second;
    // neither takes the third, which reaches the window.
    EXPECT_EQ(L"babba", g_log);
    WCHAR text[32] = L"";
    ::GetWindowTextW(edit, text, 32);
    EXPECT_STREQ(L"dispatched", text);
    ::DestroyWindow(edit);
}

} // namespace
