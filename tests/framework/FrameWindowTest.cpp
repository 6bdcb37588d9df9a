#include "framework/WindowImpl.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

class TestFrame : public CFrameWindowImpl<TestFrame>
{
public:
    DECLARE_FRAME_WND_CLASS(L"Test_Frame", IDR_MAINFRAME)

    BEGIN_MSG_MAP(TestFrame)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_USER, OnUser)
    END_MSG_MAP()

    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&)
    {
        createdWith = m_hWnd;
        return 0;
    }
    LRESULT OnUser(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
    {
        // Odd values are left to the default procedure.
        bHandled = (wParam % 2) == 0 ? TRUE : FALSE;
        return 77;
    }
    void OnFinalMessage(HWND) override { ++finalMessages; }

    HWND createdWith = nullptr;
    int finalMessages = 0;
};

class ReusedFrame : public CFrameWindowImpl<ReusedFrame>
{
public:
    DECLARE_FRAME_WND_CLASS(L"Test_Reused", IDR_MAINFRAME)
    BEGIN_MSG_MAP(ReusedFrame)
    END_MSG_MAP()
};

TEST(FrameWindow, ClassIsRegisteredOnceWithTheFramesDescription)
{
    TestFrame first;
    HWND hWnd = first.CreateEx(nullptr, nullptr, WS_OVERLAPPED | WS_CAPTION, WS_EX_APPWINDOW);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_EQ(hWnd, first.createdWith);
    ATOM atom = TestFrame::GetWndClassInfo().atom;
    EXPECT_NE(0, atom);

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(::GetClassInfoExW(::GetModuleHandleW(nullptr), L"Test_Frame", &wc));
    EXPECT_EQ(0u, wc.style);
    EXPECT_EQ(0, wc.cbClsExtra);
    EXPECT_EQ(0, wc.cbWndExtra);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), wc.hbrBackground);
    EXPECT_EQ(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)), wc.hCursor);
    EXPECT_NE(nullptr, wc.hIcon);
    EXPECT_NE(nullptr, wc.hIconSm);
    EXPECT_EQ(nullptr, wc.lpszMenuName);

    // The title and the menu come from the common resource.
    WCHAR title[64] = L"";
    ::GetWindowTextW(hWnd, title, 64);
    EXPECT_STREQ(L"Ortelan", title);
    EXPECT_NE(nullptr, ::GetMenu(hWnd));

    TestFrame second;
    HWND other = second.CreateEx(nullptr, nullptr, WS_OVERLAPPED, 0);
    ASSERT_NE(nullptr, other);
    EXPECT_EQ(atom, TestFrame::GetWndClassInfo().atom);
    EXPECT_EQ(other, second.createdWith);

    ::DestroyWindow(other);
    ::DestroyWindow(hWnd);
    EXPECT_EQ(1, first.finalMessages);
    EXPECT_EQ(nullptr, first.m_hWnd);
}

TEST(FrameWindow, UnhandledMessagesReachTheDefaultProcedure)
{
    TestFrame frame;
    HWND hWnd = frame.CreateEx(nullptr, nullptr, WS_OVERLAPPED, 0);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_EQ(77, ::SendMessageW(hWnd, WM_USER, 2, 0));
    EXPECT_EQ(0, ::SendMessageW(hWnd, WM_USER, 1, 0));
    ::DestroyWindow(hWnd);
}

TEST(FrameWindow, ExistingClassOfTheSameNameIsTakenNotRegisteredAgain)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Test_Reused";
    ATOM existing = ::RegisterClassExW(&wc);
    ASSERT_NE(0, existing);

    ATOM atom = ReusedFrame::GetWndClassInfo().Register(::GetModuleHandleW(nullptr),
                                                       CWindowImplBaseT::StartWindowProc);
    EXPECT_EQ(existing, atom);
    EXPECT_EQ(existing, ReusedFrame::GetWndClassInfo().atom);
}

TEST(FrameWindow, GivenRectangleIsUsed)
{
    TestFrame frame;
    RECT rc = {10, 20, 310, 220};
    HWND hWnd = frame.CreateEx(nullptr, &rc, WS_POPUP, 0);
    ASSERT_NE(nullptr, hWnd);
    RECT actual = {};
    ::GetWindowRect(hWnd, &actual);
    EXPECT_EQ(10, actual.left);
    EXPECT_EQ(20, actual.top);
    EXPECT_EQ(300, actual.right - actual.left);
    EXPECT_EQ(200, actual.bottom - actual.top);
    ::DestroyWindow(hWnd);
}

} // namespace
