#include "app/AboutDlg.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What the box showed, read while it is open, and the key that closes it.
struct Visit
{
    UINT closeWith;
    std::wstring caption;
    std::wstring name;
    std::wstring version;
    std::wstring notice;
    bool iconShown = false;
    HWND focus = nullptr;
    HWND okButton = nullptr;
};

Visit* g_visit = nullptr;

BOOL CALLBACK FindIcon(HWND child, LPARAM param)
{
    if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON
        && ::SendMessageW(child, STM_GETICON, 0, 0) != 0)
        *reinterpret_cast<bool*>(param) = true;
    return TRUE;
}

VOID CALLBACK ReadAndClose(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = ::GetActiveWindow();
    if (box == nullptr || g_visit == nullptr)
        return;
    ::KillTimer(nullptr, timer);
    WCHAR text[256];
    ::GetWindowTextW(box, text, 256);
    g_visit->caption = text;
    ::GetDlgItemTextW(box, IDC_ABOUT_NAME, text, 256);
    g_visit->name = text;
    ::GetDlgItemTextW(box, IDC_ABOUT_VERSION, text, 256);
    g_visit->version = text;
    ::GetDlgItemTextW(box, IDC_ABOUT_NOTICE, text, 256);
    g_visit->notice = text;
    ::EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&g_visit->iconShown));
    g_visit->focus = ::GetFocus();
    g_visit->okButton = ::GetDlgItem(box, IDOK);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(g_visit->closeWith, BN_CLICKED), 0);
}

TEST(AboutBox, ShowsNameVersionNoticeAndIconAndClosesWithOkOrCancel)
{
    for (UINT closeWith : {IDOK, IDCANCEL})
    {
        Visit visit = {closeWith, L"", L"", L"", L""};
        g_visit = &visit;
        ::SetTimer(nullptr, 0, 20, ReadAndClose);
        CDlgAbout about;
        EXPECT_EQ(static_cast<INT_PTR>(closeWith), about.DoModal(nullptr));
        g_visit = nullptr;

        EXPECT_EQ(L"バージョン情報", visit.caption);
        EXPECT_EQ(L"Ortelan", visit.name);
        EXPECT_EQ(L"Version 3.10 (2009/01/03)", visit.version);
        EXPECT_NE(std::wstring::npos, visit.notice.find(L"Pellicorn"));
        EXPECT_TRUE(visit.iconShown);
        EXPECT_EQ(visit.okButton, visit.focus);
    }
}

} // namespace
