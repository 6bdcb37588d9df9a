#include "RecordingPlatform.h"

#include "memory/WndMemory.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace {

const wchar_t kAllocated[] = L"メモリ確保成功";
const wchar_t kAllocateFailed[] = L"メモリ確保失敗";
const wchar_t kFreed[] = L"メモリを解放しました";
const wchar_t kInternalError[] = L"内部エラー";

std::wstring HeldLine(int megabytes)
{
    return L"メモリ確保量: " + std::to_wstring(megabytes) + L"MB";
}

// The panel from its real template, inside a hidden top-level window as the
// frame would hold it, with the counted memory calls.
class MemoryPanel : public testing::Test
{
protected:
    void SetUp() override
    {
        recording::Reset();
        m_host = ::CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                   nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_host);
        ASSERT_NE(nullptr, m_panel.Create(m_host));
    }

    void TearDown() override { ::DestroyWindow(m_host); }

    HWND Item(int id) const { return ::GetDlgItem(m_panel.m_hWnd, id); }

    std::wstring Text(int id) const
    {
        WCHAR text[1024] = L"";
        ::GetWindowTextW(Item(id), text, 1024);
        return text;
    }

    void SetAmount(const std::wstring& text) { ::SetWindowTextW(Item(IDC_MEMORY_AMOUNT), text.c_str()); }

    void Type(const std::wstring& text)
    {
        for (wchar_t c : text)
            ::SendMessageW(Item(IDC_MEMORY_AMOUNT), WM_CHAR, c, 1);
    }

    void Select(DWORD start, DWORD end) { ::SendMessageW(Item(IDC_MEMORY_AMOUNT), EM_SETSEL, start, end); }

    std::pair<DWORD, DWORD> Selection() const
    {
        DWORD start = 0;
        DWORD end = 0;
        ::SendMessageW(Item(IDC_MEMORY_AMOUNT), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    void Press(int button) { ::SendMessageW(Item(button), BM_CLICK, 0, 0); }

    void Allocate(const std::wstring& amount)
    {
        SetAmount(amount);
        Press(IDC_MEMORY_ALLOCATE);
    }

    int HeldInField() const { return std::stoi(Text(IDC_MEMORY_AMOUNT)); }

    HWND m_host = nullptr;
    CWndMemory m_panel{recording::Platform()};
    recording::Record& record = recording::Current();
};

TEST_F(MemoryPanel, StartsWithNothingHeldAndOneInTheField)
{
    EXPECT_EQ(HeldLine(0), Text(IDC_MEMORY_HELD));
    EXPECT_EQ(L"1", Text(IDC_MEMORY_AMOUNT));
    EXPECT_EQ(L"メモリ確保待ち", Text(IDC_MEMORY_STATUS));

    HWND spin = Item(IDC_MEMORY_SPIN);
    EXPECT_EQ(reinterpret_cast<LRESULT>(Item(IDC_MEMORY_AMOUNT)), ::SendMessageW(spin, UDM_GETBUDDY, 0, 0));
    int low = 0;
    int high = 0;
    ::SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(1, low);
    EXPECT_EQ(999999, high);
}

TEST_F(MemoryPanel, AmountAboveTheBoundBecomes4095KeepingTheCaret)
{
    SetAmount(L"");
    Type(L"5000");
    EXPECT_EQ(L"4095", Text(IDC_MEMORY_AMOUNT));
    EXPECT_EQ(std::make_pair(4ul, 4ul), Selection());

    // Typed in the middle: the caret stays behind the typed digit.
    SetAmount(L"400");
    Select(1, 1);
    Type(L"9");
    EXPECT_EQ(L"4095", Text(IDC_MEMORY_AMOUNT));
    EXPECT_EQ(std::make_pair(2ul, 2ul), Selection());

    // The field takes only digits from the keyboard; anything can be pasted.
    // Numbers too large for 32 or 64 bits must not wrap round to small ones.
    for (const wchar_t* pasted : {L"-3", L"4096", L"4294967297", L"18446744073709551617",
                                  L"-99999999999999999999999"})
    {
        SCOPED_TRACE(pasted);
        SetAmount(L"7");
        SetAmount(pasted);
        EXPECT_EQ(L"4095", Text(IDC_MEMORY_AMOUNT));
    }
}

TEST_F(MemoryPanel, AmountsWithinTheBoundStand)
{
    for (const wchar_t* amount : {L"", L"0", L"4095", L"12MB"})
    {
        SCOPED_TRACE(amount);
        SetAmount(amount);
        EXPECT_EQ(amount, Text(IDC_MEMORY_AMOUNT));
    }
}

TEST_F(MemoryPanel, UpArrowStopsAt4095)
{
    SetAmount(L"4094");
    ::SendMessageW(Item(IDC_MEMORY_AMOUNT), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(L"4095", Text(IDC_MEMORY_AMOUNT));
    ::SendMessageW(Item(IDC_MEMORY_AMOUNT), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(L"4095", Text(IDC_MEMORY_AMOUNT));
}

TEST_F(MemoryPanel, AllocateReplacesWhatIsHeld)
{
    Allocate(L"200");
    EXPECT_EQ(kAllocated, Text(IDC_MEMORY_STATUS));
    EXPECT_EQ(HeldLine(200), Text(IDC_MEMORY_HELD));

    Allocate(L"100");
    EXPECT_EQ(HeldLine(100), Text(IDC_MEMORY_HELD));
    EXPECT_EQ(300, record.commits);
    EXPECT_EQ(200, record.releases);

    // Nothing asked for: what was held is released, and that is a success.
    for (const wchar_t* nothing : {L"", L"0"})
    {
        SCOPED_TRACE(nothing);
        Allocate(L"3");
        ::SetWindowTextW(Item(IDC_MEMORY_STATUS), L"");
        Allocate(nothing);
        EXPECT_EQ(kAllocated, Text(IDC_MEMORY_STATUS));
        EXPECT_EQ(HeldLine(0), Text(IDC_MEMORY_HELD));
    }
    EXPECT_EQ(record.commits, record.releases);
}

TEST_F(MemoryPanel, RefusedRequestTakesBackTheEarlierAmount)
{
    Allocate(L"100");
    // More than the address space of this 32-bit process can give.
    Allocate(L"4095");
    EXPECT_EQ(kAllocateFailed, Text(IDC_MEMORY_STATUS));
    EXPECT_EQ(HeldLine(100), Text(IDC_MEMORY_HELD));
    EXPECT_EQ(L"4095", Text(IDC_MEMORY_AMOUNT));
}

TEST_F(MemoryPanel, RefusalForAnotherReasonIsAnInternalError)
{
    Allocate(L"100");
    recording::RefuseAfter(50, 1, ERROR_INVALID_PARAMETER);
    Allocate(L"200");
    EXPECT_EQ(kInternalError, Text(IDC_MEMORY_STATUS));
    EXPECT_EQ(HeldLine(100), Text(IDC_MEMORY_HELD));
}

TEST_F(MemoryPanel, RefusedRestoreLeavesNothingAndTheFirstStatus)
{
    for (DWORD error : {ERROR_COMMITMENT_LIMIT, ERROR_ACCESS_DENIED})
    {
        SCOPED_TRACE(error);
        Allocate(L"100");
        recording::RefuseAfter(10, 2, error);
        Allocate(L"200");
        EXPECT_EQ(error == ERROR_COMMITMENT_LIMIT ? kAllocateFailed : kInternalError,
                  Text(IDC_MEMORY_STATUS));
        EXPECT_EQ(HeldLine(0), Text(IDC_MEMORY_HELD));
    }
}

TEST_F(MemoryPanel, LimitFillsFieldAndLineWithTheAmountObtained)
{
    Press(IDC_MEMORY_ALLOCATE_LIMIT);
    EXPECT_EQ(kAllocated, Text(IDC_MEMORY_STATUS));
    int first = HeldInField();
    EXPECT_GT(first, 1024);
    EXPECT_LT(first, 2048);
    EXPECT_EQ(HeldLine(first), Text(IDC_MEMORY_HELD));

    // The second run releases the first before it commits.
    SetAmount(L"0");
    Press(IDC_MEMORY_ALLOCATE_LIMIT);
    int second = HeldInField();
    EXPECT_NEAR(first, second, 64);
    EXPECT_EQ(HeldLine(second), Text(IDC_MEMORY_HELD));

    // The field now asks for what the limit gave.
    Press(IDC_MEMORY_ALLOCATE);
    EXPECT_EQ(kAllocated, Text(IDC_MEMORY_STATUS));
    EXPECT_EQ(HeldLine(second), Text(IDC_MEMORY_HELD));
}

TEST_F(MemoryPanel, LimitReportsSuccessEvenWhenNothingIsObtained)
{
    Allocate(L"10");
    ::SetWindowTextW(Item(IDC_MEMORY_STATUS), L"");
    recording::RefuseAfter(0, 1, ERROR_NOT_ENOUGH_MEMORY);
    Press(IDC_MEMORY_ALLOCATE_LIMIT);
    EXPECT_EQ(kAllocated, Text(IDC_MEMORY_STATUS));
    EXPECT_EQ(L"0", Text(IDC_MEMORY_AMOUNT));
    EXPECT_EQ(HeldLine(0), Text(IDC_MEMORY_HELD));
}

TEST_F(MemoryPanel, FreeReleasesAndSaysSo)
{
    Press(IDC_MEMORY_FREE);
    EXPECT_EQ(kFreed, Text(IDC_MEMORY_STATUS));
    EXPECT_EQ(HeldLine(0), Text(IDC_MEMORY_HELD));

    Allocate(L"100");
    Press(IDC_MEMORY_FREE);
    EXPECT_EQ(kFreed, Text(IDC_MEMORY_STATUS));
    EXPECT_EQ(HeldLine(0), Text(IDC_MEMORY_HELD));
    EXPECT_EQ(100, record.releases);
}

TEST_F(MemoryPanel, MemoryOutlivesThePanelWindow)
{
    Allocate(L"20");
    ::DestroyWindow(m_host);
    m_host = nullptr;
    EXPECT_EQ(0, record.releases);
}

} // namespace
