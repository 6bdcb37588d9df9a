#pragma once

#include <windows.h>

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

    std::wstring Text(int id) const
    {
        WCHAR text[1024] = L"";
        ::GetDlgItemTextW(dialog, id, text, 1024);
        return text;
    }
    void SetText(int id, const std::wstring& text) const { ::SetDlgItemTextW(dialog, id, text.c_str()); }
    // What a click on the button sends its dialog.
    void Press(int id) const { ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

    Panel panel;
    HWND dialog = nullptr;

private:
    HWND m_host = nullptr;
};
