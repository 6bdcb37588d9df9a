#include "res/resource.h"
#include "tests/support/Edition.h"
#include "tests/support/Program.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace support;

const wchar_t kAllocated[] = L"メモリ確保成功";

// The status line and the amount line, as the panel shows them together.
std::wstring Shows(const std::wstring& status, int megabytes)
{
    return status + L" メモリ確保量: " + std::to_wstring(megabytes) + L"MB";
}

TEST(MemoryJourney, CommitsReplacesRestoresAndGoesToTheLimit)
{
    Ortelan program;
    HWND field = program.Control(IDC_MEMORY_AMOUNT);
    auto shown = [&] { return program.TextOf(IDC_MEMORY_STATUS) + L" " + program.TextOf(IDC_MEMORY_HELD); };
    auto act = [&](int button, const std::wstring& amount) {
        SetText(field, amount);
        program.Press(button);
        return shown();
    };
    EXPECT_EQ(Shows(L"メモリ確保待ち", 0), shown());
    EXPECT_EQ(L"1", Text(field));
    EXPECT_EQ(Shows(L"メモリを解放しました", 0), act(IDC_MEMORY_FREE, L"1"));

    // The field never shows more than a request can be, typed or pasted,
    // and the caret stays where it was. The field shows the bound before the
    // last keys are handled; the backspace, last, shows when all are.
    const std::wstring bound = std::to_wstring(edition::kMemoryFieldBound);
    ::SendMessageW(field, EM_SETSEL, 0, -1);
    TypeText(field, L"88888888\b");
    EXPECT_TRUE(WaitUntil([&] { return Text(field) == bound.substr(0, bound.size() - 1); })) << Text(field);
    EXPECT_EQ(MAKELONG(bound.size() - 1, bound.size() - 1), ::SendMessageW(field, EM_GETSEL, 0, 0));
    SetText(field, L"-3");
    EXPECT_EQ(bound, Text(field));

    // Each request replaces what is held; nothing asked for releases it.
    EXPECT_EQ(Shows(kAllocated, 200), act(IDC_MEMORY_ALLOCATE, L"200"));
    EXPECT_EQ(Shows(kAllocated, 100), act(IDC_MEMORY_ALLOCATE, L"100"));
    EXPECT_EQ(Shows(kAllocated, 0), act(IDC_MEMORY_ALLOCATE, L""));
    EXPECT_EQ(Shows(kAllocated, 5), act(IDC_MEMORY_ALLOCATE, L"5"));
    EXPECT_EQ(Shows(kAllocated, 0), act(IDC_MEMORY_ALLOCATE, L"0"));

    // Enter in the field presses the default button.
    SetText(field, L"50");
    ClickInto(field);
    PressKey(field, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return shown() == Shows(kAllocated, 50); })) << shown();

    // Hidden and shown again, the panel still holds the 50: a refused request
    // (more than either edition's process can have) takes them back.
    HWND panel = program.Panel(IDC_MEMORY_AMOUNT);
    program.Choose(ID_VIEW_MEMORY);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(panel); }));
    program.Choose(ID_VIEW_MEMORY);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel) != FALSE; }));
    EXPECT_EQ(Shows(L"メモリ確保失敗", 50), act(IDC_MEMORY_ALLOCATE, bound));

    // The limit run shows what it holds in the field and the line; the 32-bit
    // edition stops below 2 GiB, the x64 one goes past 4 GiB. A second run
    // gets as much again, so the first was released before it.
    for (int run = 0; run < 2; ++run)
    {
        std::wstring after = act(IDC_MEMORY_ALLOCATE_LIMIT, L"1");
        int held = std::stoi(Text(field));
        EXPECT_EQ(Shows(kAllocated, held), after);
        EXPECT_GT(held, edition::kLimitRunPassesFourGiB ? 4096 : 1024);
        EXPECT_LT(held, edition::kLimitRunPassesFourGiB ? 1 << 20 : 2048);
    }
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
}

} // namespace
