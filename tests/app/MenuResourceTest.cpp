#include "framework/AppModule.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Item
{
    std::wstring text;
    UINT id;        // 0 for a separator or a popup
    UINT state;
    bool separator;
};

std::vector<Item> Items(HMENU menu)
{
    std::vector<Item> items;
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
    {
        WCHAR text[128] = L"";
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 128;
        EXPECT_TRUE(::GetMenuItemInfoW(menu, i, TRUE, &info));
        items.push_back({text, info.hSubMenu != nullptr ? 0 : info.wID, info.fState,
                         (info.fType & MFT_SEPARATOR) != 0});
    }
    return items;
}

TEST(MenuResource, BarHasThreePopupsWithHelpLast)
{
    HMENU menu = ::LoadMenuW(g_module.GetResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(nullptr, menu);
    std::vector<Item> bar = Items(menu);
    ASSERT_EQ(3u, bar.size());
    EXPECT_EQ(L"ファイル(&F)", bar[0].text);
    EXPECT_EQ(L"オプション(&O)", bar[1].text);
    EXPECT_EQ(L"ヘルプ(&H)", bar[2].text);

    std::vector<Item> file = Items(::GetSubMenu(menu, 0));
    ASSERT_EQ(1u, file.size());
    EXPECT_EQ(L"終了(&E)", file[0].text);
    EXPECT_EQ(static_cast<UINT>(ID_APP_EXIT), file[0].id);
    EXPECT_EQ(0u, file[0].state);

    std::vector<Item> help = Items(::GetSubMenu(menu, 2));
    ASSERT_EQ(1u, help.size());
    EXPECT_EQ(L"バージョン情報(&A)", help[0].text);
    EXPECT_EQ(static_cast<UINT>(ID_APP_ABOUT), help[0].id);
    EXPECT_EQ(0u, help[0].state);
    ::DestroyMenu(menu);
}

TEST(MenuResource, OptionsItemsAndTheirInitialStates)
{
    HMENU menu = ::LoadMenuW(g_module.GetResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(nullptr, menu);
    std::vector<Item> options = Items(::GetSubMenu(menu, 1));
    struct Expected
    {
        const wchar_t* text;
        UINT id;
        UINT state;
    };
    const Expected expected[] = {
        {L"ウインドウを常に最上位(&A)", ID_OPTION_TOPMOST, 0},
        {L"別プロセスでOrtelanを起動(&R)", ID_OPTION_NEW_PROCESS, 0},
        {nullptr, 0, 0},
        {L"メモリ負荷画面を表示", ID_VIEW_MEMORY, MFS_CHECKED},
        {L"ディスク圧迫画面を表示", ID_VIEW_DISK, MFS_CHECKED},
        {L"パフォーマンス画面を表示", ID_VIEW_PERFORMANCE, MFS_CHECKED},
        {nullptr, 0, 0},
        {L"設定をレジストリに保存(&S)", ID_OPTION_SAVE_SETTINGS, 0},
        {L"保存した設定をクリア(&C)", ID_OPTION_CLEAR_SETTINGS, MF_GRAYED},
    };
    ASSERT_EQ(sizeof(expected) / sizeof(expected[0]), options.size());
    for (size_t i = 0; i < options.size(); ++i)
    {
        if (expected[i].text == nullptr)
        {
            EXPECT_TRUE(options[i].separator) << "item " << i;
            continue;
        }
        EXPECT_EQ(expected[i].text, options[i].text) << "item " << i;
        EXPECT_EQ(expected[i].id, options[i].id) << "item " << i;
        EXPECT_EQ(expected[i].state, options[i].state) << "item " << i;
    }
    ::DestroyMenu(menu);
}

} // namespace
