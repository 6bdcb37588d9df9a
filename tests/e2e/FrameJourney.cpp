#include "res/resource.h"
#include "tests/support/Edition.h"
#include "tests/support/Program.h"
#include "tests/support/Registry.h"
#include "tests/support/Units.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace support;

using FrameJourney = CleanSettingsTest;

TEST_F(FrameJourney, TheFrameFollowsItsPanelsAndTheMenu)
{
    // Arguments change nothing; a minimised start is laid out all the same.
    Ortelan program(SW_SHOWMINNOACTIVE, L"/quit --help C:\\nowhere 5000");
    HWND frame = program.Frame();
    EXPECT_TRUE(::IsIconic(frame));
    Send(frame, WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_EQ(L"Ortelan", Text(frame));
    // It can be moved and minimised, never resized or maximised.
    const LONG kinds = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX;
    EXPECT_EQ(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, ::GetWindowLongW(frame, GWL_STYLE) & kinds);
    EXPECT_EQ("MDP", program.Stack());

    // Hiding and showing keeps the top-left corner and the panels' order,
    // whatever the order of the commands.
    ::SetWindowPos(frame, nullptr, 37, 41, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT full = WindowRect(frame);
    const struct { UINT command; const char* shown; } steps[] = {
        {ID_VIEW_DISK, "MP"}, {ID_VIEW_PERFORMANCE, "M"}, {ID_VIEW_MEMORY, ""},
        {ID_VIEW_PERFORMANCE, "P"}, {ID_VIEW_DISK, "DP"}, {ID_VIEW_MEMORY, "MDP"}};
    for (const auto& step : steps)
    {
        Send(frame, WM_COMMAND, step.command);
        EXPECT_EQ(step.shown, program.Stack());
        RECT rc = WindowRect(frame);
        EXPECT_TRUE(rc.left == 37 && rc.top == 41) << step.shown;
    }

    // In each panel an emptied field stands, the arrow keys step the field
    // from 1 up to its bound, and Tab moves on to the next control.
    const struct { int field, next; unsigned bound; } fields[] = {
        {IDC_MEMORY_AMOUNT, IDC_MEMORY_ALLOCATE, edition::kMemoryFieldBound},
        {IDC_DISK_SIZE, IDC_DISK_CREATE, 95367431}};
    for (const auto& panel : fields)
    {
        HWND field = program.Control(panel.field);
        SetText(field, L"");
        EXPECT_EQ(L"", Text(field));
        for (unsigned from : {1u, panel.bound})
        {
            SetText(field, std::to_wstring(from));
            PressKey(field, from == 1 ? VK_DOWN : VK_UP);
            PressKey(field, from == 1 ? VK_UP : VK_DOWN);
            std::wstring after = std::to_wstring(from == 1 ? 2 : from - 1);
            EXPECT_TRUE(WaitUntil([&] { return Text(field) == after; })) << Text(field);
        }
        ClickInto(field);
        ASSERT_TRUE(WaitUntil([&] { return program.Focus() == field; }));
        PressKey(field, VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return program.Focus() == program.Control(panel.next); })) << panel.field;
    }

    // Top-most on and off, never moving or sizing the window.
    for (bool topMost : {true, false})
    {
        Send(frame, WM_COMMAND, ID_OPTION_TOPMOST);
        EXPECT_EQ(topMost, IsTopMost(frame));
        RECT now = WindowRect(frame);
        EXPECT_TRUE(::EqualRect(&full, &now));
    }

    // The About box names the edition and holds the frame until it closes,
    // by its button, Esc or its close box.
    for (int way = 0; way < 3; ++way)
    {
        program.Choose(ID_APP_ABOUT);
        HWND about = program.WaitForDialog(L"バージョン情報");
        ASSERT_NE(nullptr, about);
        EXPECT_EQ(edition::kAboutName, Text(::GetDlgItem(about, IDC_ABOUT_NAME)));
        EXPECT_EQ(L"Version 3.10 (2009/01/03)", Text(::GetDlgItem(about, IDC_ABOUT_VERSION)));
        EXPECT_NE(L"", Text(::GetDlgItem(about, IDC_ABOUT_NOTICE)));
        EXPECT_FALSE(::IsWindowEnabled(frame));
        HWND ok = ::GetDlgItem(about, IDOK);
        if (way == 0)
            ::PostMessageW(ok, BM_CLICK, 0, 0);
        else if (way == 1)
            PressKey(ok, VK_ESCAPE);
        else
            ::PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about) && ::IsWindowEnabled(frame); })) << way;
    }

    // Two new instances; closing this one leaves them running, each closing
    // on its own. Any that does not is ended with the driver's job.
    std::vector<HWND> before = TopLevelWindows(L"OT_MainFrame");
    program.Choose(ID_OPTION_NEW_PROCESS);
    program.Choose(ID_OPTION_NEW_PROCESS);
    EXPECT_TRUE(WaitUntil([&] { return TopLevelWindows(L"OT_MainFrame").size() == before.size() + 2; }));
    std::vector<std::pair<HWND, HANDLE>> started;
    for (HWND other : TopLevelWindows(L"OT_MainFrame"))
    {
        DWORD id = 0;
        ::GetWindowThreadProcessId(other, &id);
        if (std::find(before.begin(), before.end(), other) == before.end())
            started.emplace_back(other, ::OpenProcess(SYNCHRONIZE, FALSE, id));
    }
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_EQ(2u, started.size());
    for (const auto& other : started)
        EXPECT_EQ(WAIT_TIMEOUT, ::WaitForSingleObject(other.second, 0)) << "closed with the first";
    for (const auto& other : started)
    {
        ::PostMessageW(other.first, WM_CLOSE, 0, 0);
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(other.second, kPatienceMs));
        ::CloseHandle(other.second);
    }
}

// As the system ends the session: the program agrees, and cleans up as a
// close does before it answers, settings step included.
TEST_F(FrameJourney, EndOfTheWindowsSessionCleansUpAsACloseDoes)
{
    TempFolder folder;
    std::wstring target = folder.Path(L"Ortelan.dat");
    for (bool saving : {false, true})
    {
        Ortelan program;
        HWND frame = program.Frame();
        SetText(program.Control(IDC_DISK_FOLDER), folder.Path());
        program.Press(IDC_DISK_CREATE);
        ASSERT_EQ(LONGLONG(kMiB), FileSize(target));
        if (saving)
            Send(frame, WM_COMMAND, ID_OPTION_SAVE_SETTINGS);
        EXPECT_EQ(DWORD_PTR{TRUE}, Sent(frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
        ASSERT_TRUE(Send(frame, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF));
        EXPECT_EQ(LONGLONG(kMiB), FileSize(target)) << "the session goes on";
        ASSERT_TRUE(Send(frame, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF));
        EXPECT_EQ(-1, FileSize(target));
        EXPECT_EQ(saving, KeyExists(kProductKey));
        ASSERT_TRUE(program.WaitForExit());
        EXPECT_EQ(0u, program.ExitCode());
    }
}

} // namespace
