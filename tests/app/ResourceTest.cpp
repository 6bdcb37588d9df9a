#include "framework/AppModule.h"
#include "framework/String.h"
#include "res/resource.h"
#include "tests/support/Program.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// Every text of the string table, and no other entry; 460, the maker's
// notice, is the one whose text is the program's own choice.
TEST(Resources, StringTableHoldsExactlyTheseTexts)
{
    const std::map<UINT, std::wstring> table = {
        {100, L"Ortelan"}, {200, L"メモリ確保量: %dByte"},
        {210, L"メモリ確保量: %dMB"}, {220, L"メモリ確保失敗"},
        {230, L"メモリ確保成功"}, {240, L"メモリを解放しました"},
        {260, L"ファイルサイズ: %dMB"}, {280, L"ファイル作成失敗"},
        {300, L"ファイル作成成功"}, {320, L"ファイルを削除しました"},
        {330, L"フォルダが存在しません"}, {340, L"ファイルが作られていません"},
        {350, L"ファイルが見つかりません"}, {360, L"アクセス権限がありません"},
        {365, L"ファイル作成先フォルダの選択"}, {368, L"同名のファイルが存在します"},
        {370, L"メモリ確保量: %dKB"}, {380, L"メモリ確保量: %dGB"},
        {390, L"コミットチャージ: %I64uMB / %I64uMB"}, {400, L"コミットチャージ: %I32uMB / %I32uMB"},
        {410, L"CPU使用率: %d%%"}, {430, L"内部エラー"},
        {440, L"Ortelan"}, {450, L"Version 3.10 (2009/01/03)"},
        {470, L"Ortelan x64"}, {1000, L"レジストリを消去します。よろしいですか。"},
        {1001, L"チェックをオフにしたままアプリケーションを終了すると、\nレジストリに保存した設定がクリアされます。"},
        {1002, L"「設定をレジストリに保存」のチェックを外しますか。"},
    };
    for (UINT id = 0; id <= 0xFFFF; ++id)
    {
        CString text;
        text.LoadString(id);
        if (id == IDS_ABOUT_NOTICE)
            EXPECT_FALSE(text.IsEmpty());
        else
            EXPECT_EQ(table.count(id) != 0 ? table.at(id) : L"", std::wstring(text)) << "entry " << id;
    }
}

// The items of a menu, each ended by "|": popups by their text with their items
// indented below, separators as "-", commands as identifier, text and state.
std::wstring Describe(HMENU menu, const std::wstring& indent = L"")
{
    std::wstring items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
    {
        WCHAR text[128] = L"";
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 128;
        ::GetMenuItemInfoW(menu, i, TRUE, &info);
        if (info.fType & MFT_SEPARATOR)
            items += indent + L"-|";
        else if (info.hSubMenu != nullptr)
            items += indent + text + L"|" + Describe(info.hSubMenu, indent + L"  ");
        else
            items += indent + std::to_wstring(info.wID) + L" " + text + L" " + std::to_wstring(info.fState) + L"|";
    }
    return items;
}

TEST(Resources, MenuHoldsExactlyTheseItems)
{
    HMENU menu = ::LoadMenuW(g_module.GetResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(L"ファイル(&F)|  40005 終了(&E) 0|"
              L"オプション(&O)|  40010 ウインドウを常に最上位(&A) 0|  40014 別プロセスでOrtelanを起動(&R) 0|  -|"
              L"  40020 メモリ負荷画面を表示 8|  40021 ディスク圧迫画面を表示 8|  40022 パフォーマンス画面を表示 8|  -|"
              L"  40025 設定をレジストリに保存(&S) 0|  40026 保存した設定をクリア(&C) 1|"
              L"ヘルプ(&H)|  40002 バージョン情報(&A) 0|",
              Describe(menu));
    ::DestroyMenu(menu);
}

// The dialog templates: each one's size in dialog units, then its controls
// in tab order, each as identifier, text and, after a slash, the styles a
// user meets: a tab stop (t), the default button (d), digits only (n),
// read-only (r). Every control lies wholly within its dialog.
TEST(Resources, DialogsHoldExactlyTheseControls)
{
    const struct { WORD id; RECT size; const wchar_t* controls; } dialogs[] = {
        {IDD_MEMORY, {0, 0, 153, 74}, L"1003 /tn|1002 /|1005 メモリ確保/td|1006 限界確保/t|1001 メモリ解放/t|-1 メモリ負荷/|"
                                      L"1004 メモリ確保量: 100MB/|-1 確保(MB)/|1007 メモリ確保待ち/|"},
        {IDD_ABOUTBOX, {0, 0, 199, 53}, L"1 OK/td|1010 /|1009 /|1008 /|-1 \uFFFFd/|"}, // the icon: its number
        {IDD_DISK, {0, 0, 153, 92}, L"1011 /tn|1014 ファイル作成/td|1015 限界作成/t|1016 ファイル削除/t|1018 参照/t|1017 /tr|"
                                    L"1019 /|1013 ディスク確保待ち/|-1 ディスク圧迫/|1012 File確保量: 100MB/|-1 確保(MB)/|"},
        {IDD_PERFORMANCE, {0, 0, 153, 56}, L"-1 パフォーマンス/|1025 コミットチャージ: 0MB / 0MB/|1026 CPU使用率: 0%/|"},
    };
    HWND host = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    for (const auto& d : dialogs)
    {
        HWND dialog = ::CreateDialogParamW(g_module.GetResourceInstance(), MAKEINTRESOURCEW(d.id), host,
                                           [](HWND, UINT, WPARAM, LPARAM) CALLBACK -> INT_PTR { return FALSE; }, 0);
        RECT size = d.size;
        RECT client = {};
        ::MapDialogRect(dialog, &size);
        ::GetClientRect(dialog, &client);
        EXPECT_TRUE(::EqualRect(&size, &client)) << d.id;
        std::wstring controls;
        for (HWND control = ::GetWindow(dialog, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT))
        {
            LONG style = ::GetWindowLongW(control, GWL_STYLE);
            controls += std::to_wstring(::GetDlgCtrlID(control)) + L" " + support::Text(control) + L"/" +
                        (style & WS_TABSTOP ? L"t" : L"") + ((style & 0xF) == BS_DEFPUSHBUTTON ? L"d" : L"") +
                        (style & ES_NUMBER ? L"n" : L"") + (style & ES_READONLY ? L"r" : L"") + L"|";
            RECT rc = support::WindowRect(control);
            ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
            EXPECT_TRUE(rc.left >= 0 && rc.top >= 0 && rc.left < rc.right && rc.top < rc.bottom &&
                        rc.right <= client.right && rc.bottom <= client.bottom) << d.id << " " << controls;
        }
        EXPECT_EQ(d.controls, controls);
    }
    ::DestroyWindow(host);
}

} // namespace
