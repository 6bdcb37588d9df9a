#include "TestResources.h"

#include "framework/AppModule.h"
#include "framework/String.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// The program's whole string table, as the user must see it.
const std::map<UINT, std::wstring>& ExpectedTable()
{
    static const std::map<UINT, std::wstring> table = {
        {100, L"Ortelan"},
        {200, L"メモリ確保量: %dByte"},
        {210, L"メモリ確保量: %dMB"},
        {220, L"メモリ確保失敗"},
        {230, L"メモリ確保成功"},
        {240, L"メモリを解放しました"},
        {260, L"ファイルサイズ: %dMB"},
        {280, L"ファイル作成失敗"},
        {300, L"ファイル作成成功"},
        {320, L"ファイルを削除しました"},
        {330, L"フォルダが存在しません"},
        {340, L"ファイルが作られていません"},
        {350, L"ファイルが見つかりません"},
        {360, L"アクセス権限がありません"},
        {365, L"ファイル作成先フォルダの選択"},
        {368, L"同名のファイルが存在します"},
        {370, L"メモリ確保量: %dKB"},
        {380, L"メモリ確保量: %dGB"},
        {390, L"コミットチャージ: %I64uMB / %I64uMB"},
        {400, L"コミットチャージ: %I32uMB / %I32uMB"},
        {410, L"CPU使用率: %d%%"},
        {430, L"内部エラー"},
        {440, L"Ortelan"},
        {450, L"Version 3.10 (2009/01/03)"},
        {470, L"Ortelan x64"},
        {1000, L"レジストリを消去します。よろしいですか。"},
        {1001, L"チェックをオフにしたままアプリケーションを終了すると、\nレジストリに保存した設定がクリアされます。"},
        {1002, L"「設定をレジストリに保存」のチェックを外しますか。"},
    };
    return table;
}

std::wstring Load(UINT id)
{
    CString text;
    text.LoadString(id);
    return std::wstring(static_cast<LPCWSTR>(text), text.GetLength());
}

TEST(StringTable, EveryEntryLoadsExactly)
{
    for (const auto& entry : ExpectedTable())
    {
        CString text;
        EXPECT_TRUE(text.LoadString(entry.first)) << "entry " << entry.first;
        EXPECT_EQ(entry.second, Load(entry.first)) << "entry " << entry.first;
    }
}

TEST(StringTable, MakersNoticeIsPresent)
{
    CString notice;
    ASSERT_TRUE(notice.LoadString(IDS_ABOUT_NOTICE));
    EXPECT_NE(std::wstring::npos, std::wstring(notice).find(L"Pellicorn"));
}

TEST(StringTable, HoldsNoOtherEntry)
{
    int found = 0;
    for (UINT id = 0; id <= 0xFFFF; ++id)
    {
        if (id == IDS_TEST_LONG_TEXT)
            continue;
        WCHAR buffer[8];
        if (::LoadStringW(g_module.GetResourceInstance(), id, buffer, 8) > 0)
        {
            ++found;
            EXPECT_TRUE(ExpectedTable().count(id) != 0 || id == IDS_ABOUT_NOTICE) << "unexpected entry " << id;
        }
    }
    EXPECT_EQ(29, found);
}

TEST(StringTable, WarningHasOneLineFeedAfterTheComma)
{
    std::wstring text = Load(IDS_WARN_SETTINGS_CLEARED_AT_EXIT);
    size_t feed = text.find(L'\n');
    ASSERT_NE(std::wstring::npos, feed);
    EXPECT_EQ(std::wstring::npos, text.find(L'\n', feed + 1));
    ASSERT_GT(feed, 0u);
    EXPECT_EQ(L'、', text[feed - 1]);
    EXPECT_EQ(std::wstring::npos, text.find(L'\r'));
}

TEST(StringTable, MissingEntryGivesEmptyTextAndFalse)
{
    CString text(L"previous");
    EXPECT_FALSE(text.LoadString(150));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(0, text.GetLength());
}

TEST(StringTable, LongEntryIsReadWholeThroughLargerBuffers)
{
    CString text;
    ASSERT_TRUE(text.LoadString(IDS_TEST_LONG_TEXT));
    ASSERT_EQ(600, text.GetLength());
    std::wstring whole(text);
    for (int i = 0; i < 600; ++i)
        ASSERT_EQ(static_cast<wchar_t>(L'0' + i % 10), whole[i]) << "at " << i;
}

TEST(StringTable, LoadingReplacesThePreviousText)
{
    CString text;
    ASSERT_TRUE(text.LoadString(IDS_MEMORY_FREED));
    ASSERT_TRUE(text.LoadString(IDS_APP_TITLE));
    EXPECT_EQ(std::wstring(L"Ortelan"), std::wstring(text));
}

} // namespace
