#include "app/MainFrame.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Points this program's import of a system function at another function for
// as long as it lives, so that the frame calls that one instead.
class ImportReplacement
{
public:
    ImportReplacement(const char* name, ULONG_PTR replacement)
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
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                    continue;
                auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) == 0)
                    m_slot = reinterpret_cast<ULONG_PTR*>(&slots->u1.Function);
            }
        }
        if (m_slot != nullptr)
        {
            m_original = *m_slot;
            Write(replacement);
        }
    }
    ~ImportReplacement()
    {
        if (m_slot != nullptr)
            Write(m_original);
    }
    ImportReplacement(const ImportReplacement&) = delete;
    ImportReplacement& operator=(const ImportReplacement&) = delete;

    bool Done() const { return m_slot != nullptr; }

private:
    void Write(ULONG_PTR value)
    {
        DWORD protection = 0;
        ::VirtualProtect(m_slot, sizeof(*m_slot), PAGE_READWRITE, &protection);
        *m_slot = value;
        ::VirtualProtect(m_slot, sizeof(*m_slot), protection, &protection);
    }

    ULONG_PTR* m_slot = nullptr;
    ULONG_PTR m_original = 0;
};

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
    ImportReplacement replacement("CreateProcessW", reinterpret_cast<ULONG_PTR>(&HandOutHandles));
    ASSERT_TRUE(replacement.Done());
    CMainFrame frame;
    BOOL handled = TRUE;
    frame.OnNewProcess(0, ID_OPTION_NEW_PROCESS, nullptr, handled);
    ASSERT_NE(nullptr, g_started.hProcess);
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(g_started.hThread, &flags)) << "the thread handle is still open";
    EXPECT_FALSE(::GetHandleInformation(g_started.hProcess, &flags)) << "the process handle is still open";
}

} // namespace
