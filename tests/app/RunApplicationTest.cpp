#include "app/RunApplication.h"
#include "framework/AppModule.h"

#include <gtest/gtest.h>

namespace {

// What the hooks saw of the frame's creation.
bool g_refuseFrame = false;
HWND g_frame = nullptr;
bool g_loopRegisteredAtCreation = false;

bool IsFrame(HWND window, LPCREATESTRUCTW create)
{
    WCHAR name[64] = L"";
    ::GetClassNameW(window, name, 64);
    return create->hwndParent == nullptr && lstrcmpW(name, L"OT_MainFrame") == 0;
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND)
    {
        auto* cbt = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        if (IsFrame(reinterpret_cast<HWND>(wParam), cbt->lpcs))
        {
            if (g_refuseFrame)
                return 1;
            g_frame = reinterpret_cast<HWND>(wParam);
            g_loopRegisteredAtCreation = g_module.GetMessageLoop() != nullptr;
            // Closed as soon as the loop runs, as a user would close it.
            ::PostMessageW(g_frame, WM_CLOSE, 0, 0);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class RunApplicationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_refuseFrame = false;
        g_frame = nullptr;
        g_loopRegisteredAtCreation = false;
        m_hook = ::SetWindowsHookExW(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId());
        ASSERT_NE(nullptr, m_hook);
    }
    void TearDown() override { ::UnhookWindowsHookEx(m_hook); }

    HHOOK m_hook = nullptr;
};

TEST_F(RunApplicationTest, ReturnsZeroAfterTheFrameIsClosed)
{
    EXPECT_EQ(0, RunApplication(SW_SHOWNORMAL));
    ASSERT_NE(nullptr, g_frame);
    EXPECT_TRUE(g_loopRegisteredAtCreation);
    EXPECT_FALSE(::IsWindow(g_frame));
    EXPECT_EQ(nullptr, g_module.GetMessageLoop());
}

TEST_F(RunApplicationTest, ReturnsZeroWhenTheFrameCannotBeCreated)
{
    g_refuseFrame = true;
    EXPECT_EQ(0, RunApplication(SW_SHOWNORMAL));
    EXPECT_EQ(nullptr, g_frame);
    EXPECT_EQ(nullptr, g_module.GetMessageLoop());
}

} // namespace
