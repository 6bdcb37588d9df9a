#include "app/MainFrame.h"
#include "app/MenuState.h"
#include "res/resource.h"
#include "tests/support/InProcess.h"
#include "tests/support/Registry.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// The frame's end posts WM_QUIT to this thread, which nothing is to read.
void DrainMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {}
}

// Shows nothing; answers each box with the next of the two scripted answers.
int g_answers[2];
int g_asked;
int WINAPI AnswerFromScript(HWND, LPCWSTR, LPCWSTR, UINT) { return g_answers[g_asked++ % 2]; }

// A question box that cannot be shown, or that goes with its frame while it
// is open, answers 0. Only an explicit OK clears the saved settings or
// unticks saving them, and only an explicit Yes then unticks saving them.
using SettingsQuestions = support::CleanSettingsTest;

TEST_F(SettingsQuestions, OnlyAnExplicitOkOrYesActs)
{
    const struct { UINT command; int first, second; bool keyKept, saveTicked; } cases[] = {
        {ID_OPTION_CLEAR_SETTINGS, 0, IDYES, true, true},
        {ID_OPTION_CLEAR_SETTINGS, IDOK, 0, false, true},
        {ID_OPTION_CLEAR_SETTINGS, IDOK, IDYES, false, false},
        {ID_OPTION_SAVE_SETTINGS, 0, 0, true, true},
    };
    ULONG_PTR* slot = ImportSlot("MessageBoxW");
    ASSERT_NE(nullptr, slot);
    ULONG_PTR system = std::exchange(*slot, reinterpret_cast<ULONG_PTR>(&AnswerFromScript));
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.command << ": " << c.first << ", " << c.second);
        support::CreateKey(support::kProductKey);
        CMainFrame frame;
        ASSERT_NE(nullptr, frame.CreateEx(nullptr, nullptr, CMainFrame::kStyle, CMainFrame::kExStyle));
        HMENU menu = frame.GetMenu();
        g_asked = 0;
        g_answers[0] = c.first;
        g_answers[1] = c.second;
        ::SendMessageW(frame, WM_COMMAND, c.command, 0);
        EXPECT_EQ(c.keyKept, support::KeyExists(support::kProductKey));
        EXPECT_EQ(c.saveTicked, IsMenuChecked(menu, ID_OPTION_SAVE_SETTINGS) != FALSE);
        ::DestroyWindow(frame);
        DrainMessages();
    }
    *slot = system;
}

// With no panel at all, as when every panel failed to be made, only the
// borders and the menu remain; a width computed from no panel would overflow.
TEST(FrameLayout, WithoutAnyPanelOnlyTheBordersAndMenuRemain)
{
    CMainFrame frame;
    ASSERT_NE(nullptr, frame.CreateEx(nullptr, nullptr, CMainFrame::kStyle, CMainFrame::kExStyle));
    frame.m_panels.clear();
    frame.LayoutPanels();
    RECT borders = {};
    ::AdjustWindowRectEx(&borders, frame.GetStyle(), TRUE, frame.GetExStyle());
    RECT window = support::WindowRect(frame);
    EXPECT_EQ(borders.right - borders.left, window.right - window.left);
    RECT client = {};
    ::GetClientRect(frame, &client);
    EXPECT_EQ(0, client.bottom);
    ::DestroyWindow(frame);
    DrainMessages();
}

// The far ends of the two pipes handed out as the new instance's handles.
HANDLE g_processPipe = nullptr;
HANDLE g_threadPipe = nullptr;

// Starts nothing; hands out the near ends of two fresh pipes as the new
// instance's process and primary thread. A pipe whose near end is closed
// reads as broken, which holds even when the handle value is taken again.
BOOL WINAPI HandOutHandles(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID,
                           LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION process)
{
    ::CreatePipe(&g_processPipe, &process->hProcess, nullptr, 0);
    ::CreatePipe(&g_threadPipe, &process->hThread, nullptr, 0);
    return TRUE;
}

bool Closed(HANDLE farEnd)
{
    DWORD available = 0;
    return !::PeekNamedPipe(farEnd, nullptr, 0, nullptr, &available, nullptr) &&
           ::GetLastError() == ERROR_BROKEN_PIPE;
}

// Nothing waits for the new instance, so neither of its handles may stay
// open in this one for the rest of its run.
TEST(NewProcess, ClosesBothHandlesOfTheNewInstance)
{
    ULONG_PTR* slot = ImportSlot("CreateProcessW");
    ASSERT_NE(nullptr, slot);
    ULONG_PTR system = std::exchange(*slot, reinterpret_cast<ULONG_PTR>(&HandOutHandles));
    CMainFrame frame;
    BOOL handled = TRUE;
    frame.OnNewProcess(0, ID_OPTION_NEW_PROCESS, nullptr, handled);
    *slot = system;

    ASSERT_NE(nullptr, g_processPipe);
    EXPECT_TRUE(Closed(g_threadPipe)) << "the thread handle is still open";
    EXPECT_TRUE(Closed(g_processPipe)) << "the process handle is still open";
    ::CloseHandle(g_processPipe);
    ::CloseHandle(g_threadPipe);
}

} // namespace
