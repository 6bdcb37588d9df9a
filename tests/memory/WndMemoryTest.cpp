#include "RecordingPlatform.h"

#include "memory/WndMemory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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

    void SetAmount(const wchar_t* text) { ::SetWindowTextW(Item(IDC_MEMORY_AMOUNT), text); }
    void Press(int button) { ::SendMessageW(Item(button), BM_CLICK, 0, 0); }

    void Allocate(const wchar_t* amount)
    {
        SetAmount(amount);
        ::SetWindowTextW(Item(IDC_MEMORY_STATUS), L"");
        Press(IDC_MEMORY_ALLOCATE);
    }

    HWND m_host = nullptr;
    CWndMemory m_panel{recording::Platform()};
    recording::Record& record = recording::Current();
};

TEST_F(MemoryPanel, AmountAboveTheBoundBecomes4095KeepingTheCaret)
{
    HWND field = Item(IDC_MEMORY_AMOUNT);
    SetAmount(L"400");
    ::SendMessageW(field, EM_SETSEL, 1, 1);
    ::SendMessageW(field, WM_CHAR, L'9', 1);
    EXPECT_EQ(L"4095", Text(IDC_MEMORY_AMOUNT));
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(2u, start);
    EXPECT_EQ(2u, end);

    // Numbers too large for 32 or 64 bits must not wrap round to small ones.
    for (const wchar_t* pasted : {L"-3", L"4096", L"4294967297", L"18446744073709551617",
                                  L"-99999999999999999999999"})
    {
        SCOPED_TRACE(pasted);
        SetAmount(L"7");
        SetAmount(pasted);
        EXPECT_EQ(L"4095", Text(IDC_MEMORY_AMOUNT));
    }
    for (const wchar_t* standing : {L"", L"0", L"4095", L"12MB"})
    {
        SetAmount(standing);
        EXPECT_EQ(standing, Text(IDC_MEMORY_AMOUNT));
    }
}

TEST_F(MemoryPanel, AllocateReplacesWhatIsHeldAndFreeReleasesIt)
{
    Allocate(L"200");
    Allocate(L"100");
    EXPECT_EQ(L"メモリ確保成功", Text(IDC_MEMORY_STATUS));
    EXPECT_EQ(HeldLine(100), Text(IDC_MEMORY_HELD));
    EXPECT_EQ(300, record.commits);
    EXPECT_EQ(200, record.releases);

    // Nothing asked for: what was held is released, and that is a success.
    Allocate(L"");
    EXPECT_EQ(L"メモリ確保成功", Text(IDC_MEMORY_STATUS));
    EXPECT_EQ(HeldLine(0), Text(IDC_MEMORY_HELD));
    EXPECT_EQ(300, record.releases);

    Allocate(L"7");
    Press(IDC_MEMORY_FREE);
    EXPECT_EQ(L"メモリを解放しました", Text(IDC_MEMORY_STATUS));
    EXPECT_EQ(HeldLine(0), Text(IDC_MEMORY_HELD));
    EXPECT_EQ(record.commits, record.releases);
}

TEST_F(MemoryPanel, RefusalForAnotherReasonIsAnInternalError)
{
    Allocate(L"100");
    recording::RefuseAfter(50, 1, ERROR_INVALID_PARAMETER);
    Allocate(L"200");
    EXPECT_EQ(L"内部エラー", Text(IDC_MEMORY_STATUS));
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
        EXPECT_EQ(error == ERROR_COMMITMENT_LIMIT ? L"メモリ確保失敗" : L"内部エラー", Text(IDC_MEMORY_STATUS));
        EXPECT_EQ(HeldLine(0), Text(IDC_MEMORY_HELD));
    }
}

TEST_F(MemoryPanel, LimitReportsSuccessWhateverItObtains)
{
    Press(IDC_MEMORY_ALLOCATE_LIMIT);
    int obtained = std::stoi(Text(IDC_MEMORY_AMOUNT));
    EXPECT_GT(obtained, 1024);
    EXPECT_EQ(HeldLine(obtained), Text(IDC_MEMORY_HELD));

    // The field now asks for what the limit gave.
    Allocate(Text(IDC_MEMORY_AMOUNT).c_str());
    EXPECT_EQ(L"メモリ確保成功", Text(IDC_MEMORY_STATUS));
    EXPECT_EQ(HeldLine(obtained), Text(IDC_MEMORY_HELD));

    ::SetWindowTextW(Item(IDC_MEMORY_STATUS), L"");
    recording::RefuseAfter(0, 1, ERROR_NOT_ENOUGH_MEMORY);
    Press(IDC_MEMORY_ALLOCATE_LIMIT);
    EXPECT_EQ(L"メモリ確保成功", Text(IDC_MEMORY_STATUS));
    EXPECT_EQ(L"0", Text(IDC_MEMORY_AMOUNT));
    EXPECT_EQ(HeldLine(0), Text(IDC_MEMORY_HELD));
}

} // namespace
