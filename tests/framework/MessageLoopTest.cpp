#include "framework/AppModule.h"
#include "framework/MessageLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A scripted message source: -1 (an error), then the given messages, then
// WM_QUIT with code 7.
std::vector<MSG> g_script;
size_t g_next = 0;

BOOL WINAPI ScriptedGetMessage(LPMSG msg, HWND, UINT, UINT)
{
    if (g_next == 0)
    {
        ++g_next;
        return -1;
    }
    if (g_next - 1 < g_script.size())
    {
        *msg = g_script[g_next - 1];
        ++g_next;
        return TRUE;
    }
    *msg = MSG();
    msg->message = WM_QUIT;
    msg->wParam = 7;
    return FALSE;
}

class RecordingFilter : public CMessageFilter
{
public:
    RecordingFilter(std::wstring& log, wchar_t name, UINT consumes)
        : m_log(log), m_name(name), m_consumes(consumes) {}
    BOOL PreTranslateMessage(MSG* msg) override
    {
        m_log += m_name;
        return msg->message == m_consumes;
    }

private:
    std::wstring& m_log;
    wchar_t m_name;
    UINT m_consumes;
};

MSG Message(UINT message)
{
    MSG msg = {};
    msg.message = message;
    return msg;
}

TEST(MessageLoop, FiltersAreOfferedNewestFirstAndStopAtTheFirstThatConsumes)
{
    g_script = {Message(WM_USER + 1), Message(WM_USER + 2)};
    g_next = 0;
    std::wstring log;
    RecordingFilter older(log, L'a', WM_USER + 1);
    RecordingFilter newer(log, L'b', WM_USER + 2);

    CMessageLoop loop(ScriptedGetMessage);
    loop.AddMessageFilter(&older);
    loop.AddMessageFilter(&newer);
    EXPECT_EQ(7, loop.Run());
    // The first message passes b, then is consumed by a; the second is
    // consumed by b at once. The error result reached no filter.
    EXPECT_EQ(L"bab", log);
}

TEST(MessageLoop, RemovedFilterIsNoLongerOffered)
{
    g_script = {Message(WM_USER + 1)};
    g_next = 0;
    std::wstring log;
    RecordingFilter filter(log, L'a', 0);
    CMessageLoop loop(ScriptedGetMessage);
    loop.AddMessageFilter(&filter);
    EXPECT_TRUE(loop.RemoveMessageFilter(&filter));
    EXPECT_FALSE(loop.RemoveMessageFilter(&filter));
    EXPECT_EQ(7, loop.Run());
    EXPECT_TRUE(log.empty());
}

TEST(MessageLoop, RealLoopEndsWithTheQuitCode)
{
    CMessageLoop loop;
    ::PostQuitMessage(42);
    EXPECT_EQ(42, loop.Run());
}

TEST(AppModule, OneLoopPerThreadUntilRemoved)
{
    CMessageLoop loop;
    ASSERT_TRUE(g_module.AddMessageLoop(&loop));
    EXPECT_EQ(&loop, g_module.GetMessageLoop());
    CMessageLoop other;
    EXPECT_FALSE(g_module.AddMessageLoop(&other));
    EXPECT_EQ(nullptr, g_module.GetMessageLoop(::GetCurrentThreadId() + 1));
    EXPECT_TRUE(g_module.RemoveMessageLoop());
    EXPECT_EQ(nullptr, g_module.GetMessageLoop());
    EXPECT_EQ(::GetCurrentThreadId(), g_module.GetMainThreadId());
}

} // namespace
