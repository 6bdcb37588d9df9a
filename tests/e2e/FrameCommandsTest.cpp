#include "Driver.h"

#include "res/resource.h"
#include "tests/support/SettingsKeys.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace e2e;
using testing_registry::KeyExists;
using testing_registry::kProductKey;

using FrameCommands = testing_registry::CleanSettingsTest;

bool IsTopMost(HWND window) { return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

TEST_F(FrameCommands, ExitClosesLikeTheCloseBoxSettingsIncluded)
{
    {
        OrtelanProcess program;
        ASSERT_TRUE(program.Start());
        ChooseMenu(program.Frame(), ID_OPTION_SAVE_SETTINGS);
        ChooseMenu(program.Frame(), ID_APP_EXIT);
        ASSERT_TRUE(program.WaitForExit(10000));
        EXPECT_EQ(0u, program.ExitCode());
    }
    EXPECT_EQ(8u, testing_registry::ValueNames().size());
    {
        // Saved settings tick the save item at start; exit without unticking
        // keeps them, and unticking then exiting deletes them.
        OrtelanProcess program;
        ASSERT_TRUE(program.Start());
        ChooseMenu(program.Frame(), ID_APP_EXIT);
        ASSERT_TRUE(program.WaitForExit(10000));
    }
    EXPECT_TRUE(KeyExists(kProductKey));
    {
        OrtelanProcess program;
        ASSERT_TRUE(program.Start());
        ChooseMenu(program.Frame(), ID_OPTION_SAVE_SETTINGS);
        HWND box = program.WaitForDialog(L"Ortelan");
        ASSERT_NE(nullptr, box);
        Click(::GetDlgItem(box, IDOK));
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(box); }));
        ChooseMenu(program.Frame(), ID_APP_EXIT);
        ASSERT_TRUE(program.WaitForExit(10000));
        EXPECT_EQ(0u, program.ExitCode());
    }
    EXPECT_FALSE(KeyExists(kProductKey));
}

TEST_F(FrameCommands, TopMostTicksOnAndOffWithoutMovingOrSizing)
{
    OrtelanProcess program;
    ASSERT_TRUE(program.Start());
    HWND frame = program.Frame();
    RECT before = WindowRect(frame);
    EXPECT_FALSE(IsTopMost(frame));

    ChooseMenu(frame, ID_OPTION_TOPMOST);
    EXPECT_TRUE(WaitUntil([&] { return IsTopMost(frame); }));
    RECT during = WindowRect(frame);
    EXPECT_TRUE(::EqualRect(&before, &during));

    ChooseMenu(frame, ID_OPTION_TOPMOST);
    EXPECT_TRUE(WaitUntil([&] { return !IsTopMost(frame); }));
    RECT after = WindowRect(frame);
    EXPECT_TRUE(::EqualRect(&before, &after));
    ASSERT_TRUE(program.Close());
}

// The frames of every running instance, by process.
std::vector<std::pair<HWND, DWORD>> AllFrames()
{
    std::vector<std::pair<HWND, DWORD>> frames;
    HWND frame = nullptr;
    while ((frame = ::FindWindowExW(nullptr, frame, L"OT_MainFrame", nullptr)) != nullptr)
    {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(frame, &processId);
        frames.emplace_back(frame, processId);
    }
    return frames;
}

TEST_F(FrameCommands, NewProcessStartsIndependentInstances)
{
    OrtelanProcess program;
    ASSERT_TRUE(program.Start());
    ChooseMenu(program.Frame(), ID_OPTION_NEW_PROCESS);
    ChooseMenu(program.Frame(), ID_OPTION_NEW_PROCESS);
    ASSERT_TRUE(WaitUntil([] { return AllFrames().size() == 3; }, 15000));

    std::vector<HANDLE> others;
    for (const auto& frame : AllFrames())
    {
        if (frame.second == program.ProcessId())
            continue;
        HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, frame.second);
        ASSERT_NE(nullptr, process);
        others.push_back(process);
    }
    ASSERT_EQ(2u, others.size());

    // Closing the first leaves the others running.
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(2u, AllFrames().size());
    for (HANDLE process : others)
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), ::WaitForSingleObject(process, 0));

    for (const auto& frame : AllFrames())
        ::PostMessageW(frame.first, WM_CLOSE, 0, 0);
    for (HANDLE process : others)
    {
        EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(process, 10000));
        DWORD code = 1;
        ::GetExitCodeProcess(process, &code);
        EXPECT_EQ(0u, code);
        ::CloseHandle(process);
    }
}

// Opens the About box and returns it.
HWND OpenAbout(const OrtelanProcess& program)
{
    ChooseMenu(program.Frame(), ID_APP_ABOUT);
    return program.WaitForDialog(L"バージョン情報");
}

TEST_F(FrameCommands, AboutBoxShowsNameAndVersionAndBlocksTheFrame)
{
    OrtelanProcess program;
    ASSERT_TRUE(program.Start());
    HWND about = OpenAbout(program);
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(L"Ortelan", Text(::GetDlgItem(about, IDC_ABOUT_NAME)));
    EXPECT_EQ(L"Version 3.10 (2009/01/03)", Text(::GetDlgItem(about, IDC_ABOUT_VERSION)));
    EXPECT_FALSE(Text(::GetDlgItem(about, IDC_ABOUT_NOTICE)).empty());
    EXPECT_FALSE(::IsWindowEnabled(program.Frame()));

    Click(::GetDlgItem(about, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); }));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(program.Frame()) != FALSE; }));
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
}

TEST_F(FrameCommands, AboutBoxClosesWithEnterEscapeAndTheCloseBox)
{
    OrtelanProcess program;
    ASSERT_TRUE(program.Start());

    HWND about = OpenAbout(program);
    ASSERT_NE(nullptr, about);
    PressKey(::GetDlgItem(about, IDOK), VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); })) << "Enter";

    about = OpenAbout(program);
    ASSERT_NE(nullptr, about);
    PressKey(::GetDlgItem(about, IDOK), VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); })) << "Escape";

    about = OpenAbout(program);
    ASSERT_NE(nullptr, about);
    ::PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(about); })) << "close box";

    ASSERT_TRUE(program.Close());
}

TEST_F(FrameCommands, TabMovesBetweenAPanelsControls)
{
    OrtelanProcess program;
    ASSERT_TRUE(program.Start());
    HWND amount = program.Control(IDC_MEMORY_AMOUNT);
    ClickInto(amount);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(program.ThreadId()) == amount; }));
    PressKey(amount, VK_TAB);
    HWND allocate = program.Control(IDC_MEMORY_ALLOCATE);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(program.ThreadId()) == allocate; }));

    HWND size = program.Control(IDC_DISK_SIZE);
    ClickInto(size);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(program.ThreadId()) == size; }));
    PressKey(size, VK_TAB);
    HWND create = program.Control(IDC_DISK_CREATE);
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(program.ThreadId()) == create; }));
    ASSERT_TRUE(program.Close());
}

TEST_F(FrameCommands, PanelsHideAndShowFromTheMenu)
{
    OrtelanProcess program;
    ASSERT_TRUE(program.Start());
    HWND disk = program.Panel(IDC_DISK_SIZE);
    HWND performance = program.Panel(IDC_PERF_CPU);
    RECT frameBefore = WindowRect(program.Frame());
    int diskHeight = WindowRect(disk).bottom - WindowRect(disk).top;
    int performanceTop = WindowRect(performance).top;

    ChooseMenu(program.Frame(), ID_VIEW_DISK);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(disk); }));
    EXPECT_EQ(performanceTop - diskHeight, WindowRect(performance).top);
    RECT frameHidden = WindowRect(program.Frame());
    EXPECT_EQ(frameBefore.left, frameHidden.left);
    EXPECT_EQ(frameBefore.top, frameHidden.top);
    EXPECT_EQ(frameBefore.bottom - diskHeight, frameHidden.bottom);

    ChooseMenu(program.Frame(), ID_VIEW_DISK);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(disk) != FALSE; }));
    EXPECT_EQ(performanceTop, WindowRect(performance).top);
    ASSERT_TRUE(program.Close());
}

} // namespace
