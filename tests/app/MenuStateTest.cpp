#include "app/MenuState.h"
#include "app/WorkArea.h"

#include <gtest/gtest.h>

namespace {

const UINT kItem = 500;

class MenuStateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_menu = ::CreatePopupMenu();
        ::AppendMenuW(m_menu, MF_STRING, kItem, L"item");
    }
    void TearDown() override { ::DestroyMenu(m_menu); }

    void Set(UINT state)
    {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE;
        info.fState = state;
        ASSERT_TRUE(::SetMenuItemInfoW(m_menu, kItem, FALSE, &info));
    }
    UINT State() const
    {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE;
        ::GetMenuItemInfoW(m_menu, kItem, FALSE, &info);
        return info.fState;
    }

    HMENU m_menu = nullptr;
};

TEST_F(MenuStateTest, ToggleFlipsBetweenTickedAndPlain)
{
    EXPECT_FALSE(IsMenuChecked(m_menu, kItem));
    ToggleMenuCheck(m_menu, kItem);
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), State());
    EXPECT_TRUE(IsMenuChecked(m_menu, kItem));
    ToggleMenuCheck(m_menu, kItem);
    EXPECT_EQ(0u, State());
}

TEST_F(MenuStateTest, TickWithAnotherStateBitIsNotATick)
{
    for (UINT extra : {static_cast<UINT>(MFS_GRAYED), static_cast<UINT>(MFS_HILITE),
                       static_cast<UINT>(MFS_DEFAULT)})
    {
        Set(MFS_CHECKED | extra);
        EXPECT_FALSE(IsMenuChecked(m_menu, kItem)) << extra;
        ToggleMenuCheck(m_menu, kItem);
        EXPECT_EQ(MFS_CHECKED | extra, State()) << extra;
    }
    Set(MFS_GRAYED);
    ToggleMenuCheck(m_menu, kItem);
    EXPECT_EQ(static_cast<UINT>(MFS_GRAYED), State());
}

TEST_F(MenuStateTest, SetWritesTheWholeStateWord)
{
    Set(MFS_GRAYED);
    EXPECT_TRUE(SetMenuState(m_menu, kItem, MFS_CHECKED));
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), State());
    EXPECT_TRUE(SetMenuState(m_menu, kItem, 0));
    EXPECT_EQ(0u, State());
}

TEST_F(MenuStateTest, NullMenuOrMissingItemIsRefusedQuietly)
{
    EXPECT_FALSE(IsMenuChecked(nullptr, kItem));
    EXPECT_FALSE(SetMenuState(nullptr, kItem, MFS_CHECKED));
    ToggleMenuCheck(nullptr, kItem);
    EXPECT_FALSE(IsMenuChecked(m_menu, kItem + 1));
    ToggleMenuCheck(m_menu, kItem + 1);
    EXPECT_EQ(0u, State());
}

RECT WorkArea()
{
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

TEST(ClampRectToWorkArea, NullIsRefused)
{
    EXPECT_FALSE(ClampRectToWorkArea(nullptr));
}

TEST(ClampRectToWorkArea, RectangleInsideStaysPut)
{
    RECT work = WorkArea();
    RECT rc = {work.left + 10, work.top + 20, work.left + 110, work.top + 220};
    RECT before = rc;
    EXPECT_TRUE(ClampRectToWorkArea(&rc));
    EXPECT_TRUE(::EqualRect(&before, &rc));
}

TEST(ClampRectToWorkArea, OverlapLeftAndAboveIsShiftedRightAndDown)
{
    RECT work = WorkArea();
    RECT rc = {work.left - 30, work.top - 50, work.left + 170, work.top + 100};
    EXPECT_TRUE(ClampRectToWorkArea(&rc));
    EXPECT_EQ(work.left, rc.left);
    EXPECT_EQ(work.top, rc.top);
    EXPECT_EQ(work.left + 200, rc.right);
    EXPECT_EQ(work.top + 150, rc.bottom);
}

TEST(ClampRectToWorkArea, OverlapRightAndBelowIsShiftedBack)
{
    RECT work = WorkArea();
    RECT rc = {work.right - 50, work.bottom - 20, work.right + 150, work.bottom + 80};
    EXPECT_TRUE(ClampRectToWorkArea(&rc));
    EXPECT_EQ(work.right, rc.right);
    EXPECT_EQ(work.bottom, rc.bottom);
    EXPECT_EQ(work.right - 200, rc.left);
    EXPECT_EQ(work.bottom - 100, rc.top);
}

TEST(ClampRectToWorkArea, LargerThanTheWorkAreaEndsOnItsRightAndBottomEdges)
{
    RECT work = WorkArea();
    int width = work.right - work.left + 300;
    int height = work.bottom - work.top + 200;
    RECT rc = {work.left - 10, work.top - 10, work.left - 10 + width, work.top - 10 + height};
    EXPECT_TRUE(ClampRectToWorkArea(&rc));
    EXPECT_EQ(work.right, rc.right);
    EXPECT_EQ(work.bottom, rc.bottom);
    EXPECT_EQ(width, rc.right - rc.left);
    EXPECT_EQ(height, rc.bottom - rc.top);
    EXPECT_LT(rc.left, work.left);
}

TEST(ClampRectToWorkArea, EdgesAtTheEndsOfTheRangeDoNotOverflow)
{
    RECT work = WorkArea();
    RECT rc = {LONG_MIN, LONG_MIN, LONG_MAX, LONG_MAX};
    EXPECT_TRUE(ClampRectToWorkArea(&rc));
    EXPECT_EQ(LONG_MIN, rc.left);
    EXPECT_EQ(LONG_MIN, rc.top);
    EXPECT_EQ(work.right, rc.right);
    EXPECT_EQ(work.bottom, rc.bottom);
}

TEST(ClampRectToWorkArea, FarOffEveryMonitorComesBackInside)
{
    RECT work = WorkArea();
    RECT rc = {-5000, -4000, -4700, -3800};
    EXPECT_TRUE(ClampRectToWorkArea(&rc));
    EXPECT_EQ(work.left, rc.left);
    EXPECT_EQ(work.top, rc.top);
    EXPECT_EQ(300, rc.right - rc.left);
    EXPECT_EQ(200, rc.bottom - rc.top);
}

} // namespace
