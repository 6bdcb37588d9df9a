#include "app/MainFrame.h"
#include "tests/support/InProcess.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

PROCESS_INFORMATION g_started;

// Starts nothing; hands out two fresh handles as the new instance's process
// and primary thread.
BOOL WINAPI HandOutHandles(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID,
                           LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION process)
{
    process->hProcess = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    process->hThread = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_started = *process;
    return TRUE;
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

    ASSERT_NE(nullptr, g_started.hProcess);
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(g_started.hThread, &flags)) << "the thread handle is still open";
    EXPECT_FALSE(::GetHandleInformation(g_started.hProcess, &flags)) << "the process handle is still open";
}

} // namespace
