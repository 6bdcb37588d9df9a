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
}

TEST_F(MemoryPanel, FieldAlwaysShowsTheAmountThatIsThenCommitted)
{
    // Pasted texts: whole, in wide characters, ASCII digits only; beyond the
    // bound, also far beyond 32 or 64 bits, or negative, 4095.
    const std::wstring zeros(1023, L'0');
    const struct
    {
        std::wstring pasted;
        const wchar_t* shown;
    } cases[] = {
        {L"-3", L"4095"},
        {L"4096", L"4095"},
        {L"3000000000", L"4095"},
        {L"18446744073709551617", L"4095"},
        {L"-99999999999999999999999", L"4095"},
        {zeros + L"5000", L"4095"},
        {zeros.substr(1) + L"75", L"75"},
        {L" +12\t", L"12"},
        {L"12MB", L"0"},
        {L"\u221E", L"0"},
        {L"1\u09E8\u09E9", L"0"},
        {L"\u00A012", L"0"},
        {L"\uFEFF12", L"0"},
        {L"00", L"0"},
        {L"", L""},
    };
    for (const auto& item : cases)
    {
        SCOPED_TRACE(testing::PrintToString(item.pasted));
        SetAmount(L"7");
        SetAmount(item.pasted.c_str());
        EXPECT_EQ(item.shown, Text(IDC_MEMORY_AMOUNT));
        if (std::wstring(item.shown) == L"4095")
            continue;
        Press(IDC_MEMORY_ALLOCATE);
        EXPECT_EQ(HeldLine(item.shown[0] != L'\0' ? std::stoi(item.shown) : 0), Text(IDC_MEMORY_HELD));
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

    Allocate(L"3");
    ::SendMessageW(m_panel.m_hWnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(record.commits, record.releases) << "released as the session ends";
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
