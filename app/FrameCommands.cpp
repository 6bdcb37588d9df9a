#include "AboutDlg.h"
#include "MainFrame.h"
#include "MenuState.h"

#include "framework/String.h"

LRESULT CMainFrame::OnExit(WORD, WORD, HWND, BOOL&)
{
    // Closes exactly as the caption's close button does, settings included.
    PostMessage(WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CMainFrame::OnTopMost(WORD, WORD, HWND, BOOL&)
{
    HMENU menu = GetMenu();
    if (menu == nullptr)
        return 0;
    ToggleMenuCheck(menu, ID_OPTION_TOPMOST);
    ApplyTopMost();
    return 0;
}

void CMainFrame::ApplyTopMost()
{
    HWND band = IsMenuChecked(GetMenu(), ID_OPTION_TOPMOST) ? HWND_TOPMOST : HWND_NOTOPMOST;
    SetWindowPos(band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT CMainFrame::OnNewProcess(WORD, WORD, HWND, BOOL&)
{
    WCHAR path[1024] = L"";
    ::GetModuleFileNameW(nullptr, path, 1024);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (::CreateProcessW(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    {
        // Nothing waits for the new instance; neither handle is needed.
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    return 0;
}

LRESULT CMainFrame::OnAbout(WORD, WORD, HWND, BOOL&)
{
    CDlgAbout about;
    about.DoModal(::GetActiveWindow());
    return 0;
}

int CMainFrame::AskUser(UINT textId, UINT type)
{
    CString text;
    text.LoadString(textId);
    CString caption;
    caption.LoadString(IDS_APP_TITLE);
    return MessageBox(text, caption, type);
}
