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

// The running program with its memory load panel at hand.
class MemoryPanelEndToEnd : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_program.Start()) << "no main window";
        ASSERT_NE(nullptr, m_program.Panel(IDC_MEMORY_AMOUNT));
    }

    void TearDown() override
    {
        EXPECT_TRUE(m_program.Close());
        EXPECT_EQ(0u, m_program.ExitCode());
    }

    HWND Item(int id) const { return m_program.Control(id); }
    std::wstring TextOf(int id) const { return Text(Item(id)); }

    // Waits for the status line to read text, having cleared it first so
    // that an unchanged text also counts as the next action's outcome.
    void ClickAndWaitForStatus(int button, const std::wstring& status)
    {
        SetText(Item(IDC_MEMORY_STATUS), L"");
        Click(Item(button));
        EXPECT_TRUE(WaitUntil([&] { return TextOf(IDC_MEMORY_STATUS) == status; }, 15000))
            << "status line: " << testing::PrintToString(TextOf(IDC_MEMORY_STATUS));
    }

    void Allocate(const std::wstring& amount, const std::wstring& status = kAllocated)
    {
        SetText(Item(IDC_MEMORY_AMOUNT), amount);
        ClickAndWaitForStatus(IDC_MEMORY_ALLOCATE, status);
    }

    OrtelanProcess m_program;
};

TEST_F(MemoryPanelEndToEnd, StartsIdleWithNothingHeld)
{
    EXPECT_EQ(HeldLine(0), TextOf(IDC_MEMORY_HELD));
    EXPECT_EQ(L"1", TextOf(IDC_MEMORY_AMOUNT));
    EXPECT_EQ(L"メモリ確保待ち", TextOf(IDC_MEMORY_STATUS));
}

TEST_F(MemoryPanelEndToEnd, FieldIsHeldAt4095)
{
    HWND field = Item(IDC_MEMORY_AMOUNT);
    ::SendMessageW(field, EM_SETSEL, 0, -1);
    TypeText(field, L"5000");
    EXPECT_TRUE(WaitUntil([&] { return Text(field) == L"4095"; }));
    LRESULT selection = ::SendMessageW(field, EM_GETSEL, 0, 0);
    EXPECT_EQ(4, LOWORD(selection));
    EXPECT_EQ(4, HIWORD(selection));

    SetText(field, L"-3");
    EXPECT_EQ(L"4095", Text(field));

    // The up arrow at the bound; the click behind it marks when the keys
    // have been handled.
    SetText(field, L"4094");
    PressKey(field, VK_UP);
    PressKey(field, VK_UP);
    ClickAndWaitForStatus(IDC_MEMORY_FREE, kFreed);
    EXPECT_EQ(L"4095", Text(field));
}

TEST_F(MemoryPanelEndToEnd, AllocateReplacesAndRestoresTheAmount)
{
    Allocate(L"200");
    EXPECT_EQ(HeldLine(200), TextOf(IDC_MEMORY_HELD));
    Allocate(L"100");
    EXPECT_EQ(HeldLine(100), TextOf(IDC_MEMORY_HELD));

    // More than this 32-bit process can have: refused, and the 100 are back.
    Allocate(L"4095", kAllocateFailed);
    EXPECT_EQ(HeldLine(100), TextOf(IDC_MEMORY_HELD));

    for (const wchar_t* nothing : {L"", L"0"})
    {
        Allocate(L"5");
        Allocate(nothing);
        EXPECT_EQ(HeldLine(0), TextOf(IDC_MEMORY_HELD));
    }
}

TEST_F(MemoryPanelEndToEnd, EnterInTheFieldAllocates)
{
    HWND field = Item(IDC_MEMORY_AMOUNT);
    SetText(field, L"30");
    SetText(Item(IDC_MEMORY_STATUS), L"");
    ClickInto(field);
    PressKey(field, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(IDC_MEMORY_STATUS) == kAllocated; }));
    EXPECT_EQ(HeldLine(30), TextOf(IDC_MEMORY_HELD));
}

TEST_F(MemoryPanelEndToEnd, FreeWithNothingHeld)
{
    ClickAndWaitForStatus(IDC_MEMORY_FREE, kFreed);
    EXPECT_EQ(HeldLine(0), TextOf(IDC_MEMORY_HELD));
}

TEST_F(MemoryPanelEndToEnd, HiddenPanelKeepsItsMemory)
{
    Allocate(L"50");
    HWND panel = m_program.Panel(IDC_MEMORY_AMOUNT);
    ChooseMenu(m_program.Frame(), ID_VIEW_MEMORY);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(panel); }));
    ChooseMenu(m_program.Frame(), ID_VIEW_MEMORY);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel) != FALSE; }));

    // A refused request takes back what was held: still the 50.
    Allocate(L"4095", kAllocateFailed);
    EXPECT_EQ(HeldLine(50), TextOf(IDC_MEMORY_HELD));
}

// The program is closed while holding all it could get (in TearDown).
TEST_F(MemoryPanelEndToEnd, LimitShowsTheSameAmountTwiceAndClosesCleanly)
{
    ClickAndWaitForStatus(IDC_MEMORY_ALLOCATE_LIMIT, kAllocated);
    int first = std::stoi(TextOf(IDC_MEMORY_AMOUNT));
    EXPECT_GT(first, 1024);
    EXPECT_LT(first, 2048);
    EXPECT_EQ(HeldLine(first), TextOf(IDC_MEMORY_HELD));

    ClickAndWaitForStatus(IDC_MEMORY_ALLOCATE_LIMIT, kAllocated);
    int second = std::stoi(TextOf(IDC_MEMORY_AMOUNT));
    EXPECT_NEAR(first, second, 64);
    EXPECT_EQ(HeldLine(second), TextOf(IDC_MEMORY_HELD));
}

} // namespace
