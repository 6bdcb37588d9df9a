#pragma once

#include "Program.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

// A panel made from its real template as a child of a hidden top-level
// window, as the frame holds it, and driven as its own controls drive it.
template <class Panel>
class HostedPanel
{
public:
    template <class... Args>
    explicit HostedPanel(Args&&... args) : panel(std::forward<Args>(args)...)
    {
        m_host = ::CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                   nullptr, nullptr);
        dialog = panel.Create(m_host);
    }
    ~HostedPanel() { ::DestroyWindow(m_host); }

    std::wstring Text(int id) const { return support::Text(::GetDlgItem(dialog, id)); }
    void SetText(int id, const std::wstring& text) const { support::SetText(::GetDlgItem(dialog, id), text); }
    // What a click on the button sends its dialog.
    void Press(int id) const { ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

    Panel panel;
    HWND dialog = nullptr;

private:
    HWND m_host = nullptr;
};

// The slot of this program's import table through which it calls a system function,
// so that a test can put another function there (the linker leaves it writable).
inline ULONG_PTR* ImportSlot(const char* name)
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
