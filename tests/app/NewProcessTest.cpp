#include "app/MainFrame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace {

// The slot of this program's import table through which it calls a system
// function, so that a test can put another function there (the linker
// leaves the table writable).
ULONG_PTR* ImportSlot(const char* name)
{
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    auto* headers = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    DWORD imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); dll->Name != 0; ++dll)
    {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots)
        {
            if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) &&
                std::strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name, name) == 0)
                return reinterpret_cast<ULONG_PTR*>(&slots->u1.Function);
        }
    }
    return nullptr;
}

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
