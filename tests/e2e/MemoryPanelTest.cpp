#include "Driver.h"

#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace e2e;

const wchar_t kAllocated[] = L"メモリ確保成功";
const wchar_t kAllocateFailed[] = L"メモリ確保失敗";
const wchar_t kFreed[] = L"メモリを解放しました";

std::wstring HeldLine(int megabytes)
{
    return L"メモリ確保量: " + std::to_wstring(megabytes) + L"MB";
}

// The running program with its memory load panel at hand; every case ends
// by closing it, which must end the process with exit code 0.
class MemoryPanelEndToEnd : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_program.Start()) << "no main window"; }

    void TearDown() override
    {
        EXPECT_TRUE(m_program.Close());
        EXPECT_EQ(0u, m_program.ExitCode());
    }

    std::wstring TextOf(int id) const { return Text(m_program.Control(id)); }

    // The status line is cleared first, so that the same text coming back
    // also marks the end of the next action.
    void Act(int button, const std::wstring& status, const wchar_t* amount = nullptr)
    {
        if (amount != nullptr)
            SetText(m_program.Control(IDC_MEMORY_AMOUNT), amount);
        SetText(m_program.Control(IDC_MEMORY_STATUS), L"");
        Click(m_program.Control(button));
        EXPECT_TRUE(WaitUntil([&] { return TextOf(IDC_MEMORY_STATUS) == status; }, 15000))
            << testing::PrintToString(TextOf(IDC_MEMORY_STATUS));
    }

    OrtelanProcess m_program;
};

TEST_F(MemoryPanelEndToEnd, StartsIdleAndFreesWithNothingHeld)
{
    EXPECT_EQ(HeldLine(0), TextOf(IDC_MEMORY_HELD));
    EXPECT_EQ(L"1", TextOf(IDC_MEMORY_AMOUNT));
    EXPECT_EQ(L"メモリ確保待ち", TextOf(IDC_MEMORY_STATUS));
    Act(IDC_MEMORY_FREE, kFreed);
    EXPECT_EQ(HeldLine(0), TextOf(IDC_MEMORY_HELD));
}

TEST_F(MemoryPanelEndToEnd, FieldIsHeldAt4095)
{
    HWND field = m_program.Control(IDC_MEMORY_AMOUNT);
    ::SendMessageW(field, EM_SETSEL, 0, -1);
    TypeText(field, L"5000");
    EXPECT_TRUE(WaitUntil([&] { return Text(field) == L"4095"; }));
    EXPECT_EQ(MAKELONG(4, 4), ::SendMessageW(field, EM_GETSEL, 0, 0));

    SetText(field, L"-3");
    EXPECT_EQ(L"4095", Text(field));

    // The click after the arrows marks when they have been handled.
    SetText(field, L"4094");
    PressKey(field, VK_UP);
    PressKey(field, VK_UP);
    Act(IDC_MEMORY_FREE, kFreed);
    EXPECT_EQ(L"4095", Text(field));
}

TEST_F(MemoryPanelEndToEnd, AllocateReplacesAndRestoresTheAmount)
{
    Act(IDC_MEMORY_ALLOCATE, kAllocated, L"200");
    Act(IDC_MEMORY_ALLOCATE, kAllocated, L"100");
    EXPECT_EQ(HeldLine(100), TextOf(IDC_MEMORY_HELD));

    // More than this 32-bit process can have: refused, and the 100 are back.
    Act(IDC_MEMORY_ALLOCATE, kAllocateFailed, L"4095");
    EXPECT_EQ(HeldLine(100), TextOf(IDC_MEMORY_HELD));

    for (const wchar_t* nothing : {L"", L"0"})
    {
        Act(IDC_MEMORY_ALLOCATE, kAllocated, L"5");
        Act(IDC_MEMORY_ALLOCATE, kAllocated, nothing);
        EXPECT_EQ(HeldLine(0), TextOf(IDC_MEMORY_HELD));
    }
}

TEST_F(MemoryPanelEndToEnd, EnterInTheFieldAllocates)
{
    HWND field = m_program.Control(IDC_MEMORY_AMOUNT);
    SetText(field, L"30");
    ClickInto(field);
    PressKey(field, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(IDC_MEMORY_STATUS) == kAllocated; }));
    EXPECT_EQ(HeldLine(30), TextOf(IDC_MEMORY_HELD));
}

TEST_F(MemoryPanelEndToEnd, HiddenPanelKeepsItsMemory)
{
    Act(IDC_MEMORY_ALLOCATE, kAllocated, L"50");
    HWND panel = m_program.Panel(IDC_MEMORY_AMOUNT);
    ChooseMenu(m_program.Frame(), ID_VIEW_MEMORY);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(panel); }));
    ChooseMenu(m_program.Frame(), ID_VIEW_MEMORY);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel) != FALSE; }));

    // A refused request takes back what was held: still the 50.
    Act(IDC_MEMORY_ALLOCATE, kAllocateFailed, L"4095");
    EXPECT_EQ(HeldLine(50), TextOf(IDC_MEMORY_HELD));
}

TEST_F(MemoryPanelEndToEnd, LimitShowsTheSameAmountTwiceAndClosesHoldingIt)
{
    Act(IDC_MEMORY_ALLOCATE_LIMIT, kAllocated);
    int first = std::stoi(TextOf(IDC_MEMORY_AMOUNT));
    EXPECT_GT(first, 1024);
    EXPECT_LT(first, 2048);
    EXPECT_EQ(HeldLine(first), TextOf(IDC_MEMORY_HELD));

    // Had the first run not been released, the second would get almost none.
    Act(IDC_MEMORY_ALLOCATE_LIMIT, kAllocated);
    int second = std::stoi(TextOf(IDC_MEMORY_AMOUNT));
    EXPECT_NEAR(first, second, 64);
    EXPECT_EQ(HeldLine(second), TextOf(IDC_MEMORY_HELD));
}

} // namespace
