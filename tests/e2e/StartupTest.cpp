#include "Driver.h"

#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

using namespace e2e;

void ExpectFrameAsBuilt(const OrtelanProcess& program)
{
    HWND frame = program.Frame();
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(L"Ortelan", Text(frame));

    DWORD style = static_cast<DWORD>(::GetWindowLongW(frame, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(frame, GWL_EXSTYLE));
    const DWORD expected = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    EXPECT_EQ(0x02CA0000u, expected);
    EXPECT_EQ(expected, style & expected);
    // The user can move and minimise the window, never resize or maximise it.
    EXPECT_EQ(0u, style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_EQ(0x00040100u, exStyle & 0x00040100u);
    EXPECT_TRUE(::IsWindowVisible(frame));
    EXPECT_NE(nullptr, ::GetMenu(frame));
}

TEST(Startup, ShowsTheFrameAndExitsWithZeroAfterClose)
{
    OrtelanProcess program;
    ASSERT_TRUE(program.Start()) << "no main window";
    ExpectFrameAsBuilt(program);
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
}

TEST(Startup, CommandLineArgumentsChangeNothing)
{
    OrtelanProcess program;
    ASSERT_TRUE(program.Start(L"/quit --help C:\\nowhere 5000")) << "no main window";
    ExpectFrameAsBuilt(program);
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
}

TEST(Startup, FrameHoldsThePanelsAsChildDialogs)
{
    OrtelanProcess program;
    ASSERT_TRUE(program.Start());
    HWND memory = program.Panel(IDC_MEMORY_AMOUNT);
    HWND disk = program.Panel(IDC_DISK_SIZE);
    HWND performance = program.Panel(IDC_PERF_CPU);
    ASSERT_NE(nullptr, memory);
    ASSERT_NE(nullptr, disk);
    ASSERT_NE(nullptr, performance);
    for (HWND panel : {memory, disk, performance})
    {
        EXPECT_EQ(program.Frame(), ::GetParent(panel));
        EXPECT_TRUE(::GetWindowLongW(panel, GWL_STYLE) & WS_CHILD);
        EXPECT_TRUE(::IsWindowVisible(panel));
    }
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
}

TEST(Startup, MinimisedStartIsLaidOutAtFullSize)
{
    OrtelanProcess program;
    ASSERT_TRUE(program.Start(L"", SW_SHOWMINNOACTIVE));
    EXPECT_TRUE(::IsIconic(program.Frame()));
    // Restored, it shows the panels stacked at full size: the layout ran
    // before the window was first shown.
    ::PostMessageW(program.Frame(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsIconic(program.Frame()); }));
    RECT client = ClientRectOnScreen(program.Frame());
    int stacked = 0;
    for (int control : {IDC_MEMORY_AMOUNT, IDC_DISK_SIZE, IDC_PERF_CPU})
    {
        RECT panel = WindowRect(program.Panel(control));
        stacked += panel.bottom - panel.top;
        EXPECT_EQ(client.right - client.left, panel.right - panel.left);
    }
    EXPECT_EQ(stacked, client.bottom - client.top);
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
}

} // namespace
