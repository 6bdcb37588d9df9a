#include "FrameFixture.h"

#include <algorithm>

namespace {

int Height(const RECT& rc) { return rc.bottom - rc.top; }
int Width(const RECT& rc) { return rc.right - rc.left; }

class LayoutTest : public FrameTest
{
protected:
    void ExpectStack(std::initializer_list<HWND> shown)
    {
        int y = 0;
        for (HWND panel : shown)
        {
            RECT rc = PanelRect(panel);
            EXPECT_TRUE(IsShown(panel));
            EXPECT_EQ(0, rc.left);
            EXPECT_EQ(y, rc.top);
            y = rc.bottom;
        }
        EXPECT_EQ(y, Height(Client()));
    }
};

TEST_F(LayoutTest, AllPanelsStackFromTheTopWithoutGaps)
{
    CMainFrame& frame = CreateFrame();
    ExpectStack({frame.m_memory, frame.m_disk, frame.m_performance});
    int widest = 0;
    for (HWND panel : {frame.m_memory.m_hWnd, frame.m_disk.m_hWnd, frame.m_performance.m_hWnd})
        widest = std::max(widest, Width(PanelRect(panel)));
    EXPECT_EQ(widest, Width(Client()));
}

TEST_F(LayoutTest, HidingThePanelInTheMiddleMovesTheOneBelowUp)
{
    CMainFrame& frame = CreateFrame();
    int diskHeight = Height(PanelRect(frame.m_disk));
    int before = Height(Window());

    Command(ID_VIEW_DISK);
    EXPECT_FALSE(IsShown(frame.m_disk));
    EXPECT_EQ(0u, MenuState(ID_VIEW_DISK));
    ExpectStack({frame.m_memory, frame.m_performance});
    EXPECT_EQ(before - diskHeight, Height(Window()));

    Command(ID_VIEW_DISK);
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), MenuState(ID_VIEW_DISK));
    ExpectStack({frame.m_memory, frame.m_disk, frame.m_performance});
    EXPECT_EQ(before, Height(Window()));
}

TEST_F(LayoutTest, ShownPanelsKeepTheirOrderWhateverTheOrderOfCommands)
{
    CMainFrame& frame = CreateFrame();
    Command(ID_VIEW_PERFORMANCE);
    Command(ID_VIEW_MEMORY);
    ExpectStack({frame.m_disk});
    Command(ID_VIEW_PERFORMANCE);
    ExpectStack({frame.m_disk, frame.m_performance});
    Command(ID_VIEW_DISK);
    Command(ID_VIEW_MEMORY);
    ExpectStack({frame.m_memory, frame.m_performance});
    Command(ID_VIEW_DISK);
    ExpectStack({frame.m_memory, frame.m_disk, frame.m_performance});
}

TEST_F(LayoutTest, WidthFollowsTheWidestShownAndTheNarrowestWhenNoneIsShown)
{
    CMainFrame& frame = CreateFrame();
    RECT disk = PanelRect(frame.m_disk);
    int normal = Width(disk);
    ::SetWindowPos(frame.m_disk, nullptr, 0, 0, normal + 40, Height(disk), SWP_NOMOVE | SWP_NOZORDER);
    RECT memory = PanelRect(frame.m_memory);
    ::SetWindowPos(frame.m_memory, nullptr, 0, 0, normal - 30, Height(memory), SWP_NOMOVE | SWP_NOZORDER);

    frame.LayoutPanels();
    EXPECT_EQ(normal + 40, Width(Client()));

    Command(ID_VIEW_DISK);
    EXPECT_EQ(normal, Width(Client()));

    Command(ID_VIEW_MEMORY);
    Command(ID_VIEW_PERFORMANCE);
    EXPECT_EQ(0, Height(Client()));
    EXPECT_EQ(normal - 30, Width(Client()));
    EXPECT_FALSE(IsShown(frame.m_memory));
    EXPECT_FALSE(IsShown(frame.m_performance));
}

TEST_F(LayoutTest, WithoutAnyPanelOnlyTheBordersAndMenuRemain)
{
    CMainFrame& frame = CreateFrame();
    frame.m_panels.clear();
    frame.LayoutPanels();
    // Only the borders are left; an overflowing width would lose them too.
    RECT empty = {};
    ::AdjustWindowRectEx(&empty, frame.GetStyle(), TRUE, frame.GetExStyle());
    EXPECT_EQ(Width(empty), Width(Window()));
    EXPECT_EQ(0, Height(Client()));
}

TEST_F(LayoutTest, EveryLayoutKeepsTheTopLeftCornerAndRecordsTheRectangle)
{
    CMainFrame& frame = CreateFrame();
    ::SetWindowPos(frame, nullptr, 37, 41, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    for (UINT id : {ID_VIEW_MEMORY, ID_VIEW_PERFORMANCE, ID_VIEW_MEMORY, ID_VIEW_DISK})
    {
        Command(id);
        RECT rc = Window();
        EXPECT_EQ(37, rc.left);
        EXPECT_EQ(41, rc.top);
        EXPECT_TRUE(::EqualRect(&rc, &frame.m_rcWindow));
    }
}

TEST_F(LayoutTest, MinimumTrackingSizeIsZero)
{
    CMainFrame& frame = CreateFrame();
    MINMAXINFO info = {};
    info.ptMinTrackSize = {123, 45};
    info.ptMaxTrackSize = {999, 888};
    ::SendMessageW(frame, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(0, info.ptMinTrackSize.x);
    EXPECT_EQ(0, info.ptMinTrackSize.y);
    EXPECT_EQ(999, info.ptMaxTrackSize.x);
    EXPECT_EQ(888, info.ptMaxTrackSize.y);
}

TEST_F(LayoutTest, MovesAreRecordedExceptWhileMinimised)
{
    CMainFrame& frame = CreateFrame();
    frame.ShowWindow(SW_SHOWNOACTIVATE);
    ::SetWindowPos(frame, nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT normal = Window();
    EXPECT_TRUE(::EqualRect(&normal, &frame.m_rcWindow));

    frame.ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(frame.IsIconic());
    EXPECT_TRUE(::EqualRect(&normal, &frame.m_rcWindow));
}

TEST_F(LayoutTest, FilterGivesThePanelsTheDialogKeyboardInterface)
{
    CMainFrame& frame = CreateFrame();
    frame.ShowWindow(SW_SHOW);
    HWND first = ::GetNextDlgTabItem(frame.m_memory, nullptr, FALSE);
    ASSERT_NE(nullptr, first);
    ::SetFocus(first);
    MSG tab = {first, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(frame.PreTranslateMessage(&tab));
    EXPECT_EQ(::GetNextDlgTabItem(frame.m_memory, first, FALSE), ::GetFocus());

    HWND diskFirst = ::GetNextDlgTabItem(frame.m_disk, nullptr, FALSE);
    ::SetFocus(diskFirst);
    tab.hwnd = diskFirst;
    EXPECT_TRUE(frame.PreTranslateMessage(&tab));
    EXPECT_EQ(::GetNextDlgTabItem(frame.m_disk, diskFirst, FALSE), ::GetFocus());

    // The performance panel has no input and is not offered messages.
    MSG other = {frame.m_performance, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_FALSE(frame.PreTranslateMessage(&other));
}

} // namespace
