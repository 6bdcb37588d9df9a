#include "res/resource.h"
#include "tests/support/Program.h"
#include "tests/support/Registry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace support;

const wchar_t kWarning[] = L"チェックをオフにしたままアプリケーションを終了すると、\n"
                           L"レジストリに保存した設定がクリアされます。";
const wchar_t kConfirmClear[] = L"レジストリを消去します。よろしいですか。";
const wchar_t kAskUncheck[] = L"「設定をレジストリに保存」のチェックを外しますか。";

using SettingsJourney = CleanSettingsTest;

TEST_F(SettingsJourney, NothingIsSavedUntilAskedThenEverythingComesBack)
{
    // An empty maker key, as an earlier run may leave it, goes at the end.
    CreateKey(kMakerKey);
    {
        // Nothing saved: clearing, ticking and unticking ask nothing, each done when it returns.
        Ortelan program;
        for (UINT command : {ID_OPTION_CLEAR_SETTINGS, ID_OPTION_SAVE_SETTINGS, ID_OPTION_SAVE_SETTINGS,
                             ID_OPTION_SAVE_SETTINGS})
            ASSERT_TRUE(Send(program.Frame(), WM_COMMAND, command)) << command;
        Send(program.Frame(), WM_COMMAND, ID_VIEW_PERFORMANCE);
        Send(program.Frame(), WM_COMMAND, ID_OPTION_TOPMOST);
        ::SetWindowPos(program.Frame(), nullptr, 140, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        // Minimised, the window keeps its last normal place.
        RECT normal = WindowRect(program.Frame());
        Send(program.Frame(), WM_SYSCOMMAND, SC_MINIMIZE);
        program.Choose(ID_APP_EXIT);
        ASSERT_TRUE(program.WaitForExit());
        EXPECT_EQ(8u, ValueCount());
        // An ordinary key, which outlives the session: a volatile one would refuse an ordinary subkey.
        const std::wstring probe = std::wstring(kProductKey) + L"\\probe";
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, probe.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                   KEY_WRITE, nullptr, &key, nullptr));
        ::RegCloseKey(key);
        ::RegDeleteKeyW(HKEY_CURRENT_USER, probe.c_str());
        const LONG saved[] = {1, 1, 1, 0, normal.left, normal.top, normal.right, normal.bottom};
        for (int i = 0; i < 8; ++i)
        {
            DWORD read = 0;
            EXPECT_TRUE(ReadDword(kValueNames[i], &read) && LONG(read) == saved[i]) << kValueNames[i];
        }
    }
    {
        Ortelan program;
        RECT rc = WindowRect(program.Frame());
        EXPECT_EQ(140, rc.left);
        EXPECT_EQ(90, rc.top);
        EXPECT_EQ("MD", program.Stack());
        EXPECT_TRUE(IsTopMost(program.Frame()));
        // The clear item is enabled, and saving is ticked: unticking it
        // warns, and Cancel keeps it ticked.
        program.ChooseByKeys(L'o', L'c');
        program.Answer(kConfirmClear, {IDOK, IDCANCEL}, IDCANCEL);
        program.Choose(ID_OPTION_SAVE_SETTINGS);
        program.Answer(kWarning, {IDOK, IDCANCEL}, IDCANCEL);
        ::SetWindowPos(program.Frame(), nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_TRUE(program.Close());
    }
    DWORD left = 0;
    EXPECT_TRUE(ReadDword(L"Window_Left", &left) && left == 60);
    {
        Ortelan program;
        program.Choose(ID_OPTION_SAVE_SETTINGS);
        program.Answer(kWarning, {IDOK, IDCANCEL}, IDOK);
        EXPECT_TRUE(KeyExists(kProductKey)) << "only the close deletes";
        ASSERT_TRUE(program.Close());
    }
    EXPECT_FALSE(KeyExists(kMakerKey));
}

TEST_F(SettingsJourney, ClearingAsksDeletesAtOnceAndOffersToStopSaving)
{
    WriteAll(0, 1, 1, 1, RECT{20, 30, 320, 330});
    // Another product of the maker survives every deletion.
    CreateKey(L"Software\\Pellicorn\\Another");
    for (int answer : {IDNO, IDYES})
    {
        Ortelan program;
        program.Choose(ID_OPTION_CLEAR_SETTINGS);
        program.Answer(kConfirmClear, {IDOK, IDCANCEL}, IDCANCEL);
        EXPECT_TRUE(KeyExists(kProductKey));
        program.Choose(ID_OPTION_CLEAR_SETTINGS);
        program.Answer(kConfirmClear, {IDOK, IDCANCEL}, IDOK);
        program.Answer(kAskUncheck, {IDYES, IDNO}, answer);
        EXPECT_FALSE(KeyExists(kProductKey));
        // The item is greyed now: chosen with the keys after another instance
        // saved its settings, it asks nothing before a later command acts.
        CreateKey(kProductKey);
        program.ChooseByKeys(L'o', L'c');
        bool topMost = IsTopMost(program.Frame());
        program.Choose(ID_OPTION_TOPMOST);
        auto box = [] { return ::FindWindowExW(nullptr, nullptr, L"#32770", L"Ortelan"); };
        ASSERT_TRUE(WaitUntil([&] { return box() || IsTopMost(program.Frame()) != topMost; }));
        EXPECT_EQ(nullptr, box()) << "the clear item is enabled";
        ASSERT_TRUE(program.Close());
        // No keeps saving: the close writes the settings again.
        EXPECT_EQ(answer == IDNO ? 8u : 0u, ValueCount());
        EXPECT_TRUE(KeyExists(L"Software\\Pellicorn\\Another"));
    }

    // A key that cannot be deleted (Wine takes a sub-key name longer than the
    // 255 characters the deletion reads) keeps the clear item enabled.
    WriteAll(0, 1, 1, 1, RECT{20, 30, 320, 330});
    CreateKey((std::wstring(kProductKey) + L"\\" + std::wstring(256, L'k')).c_str());
    Ortelan program;
    program.Choose(ID_OPTION_CLEAR_SETTINGS);
    program.Answer(kConfirmClear, {IDOK, IDCANCEL}, IDOK);
    program.Answer(kAskUncheck, {IDYES, IDNO}, IDNO);
    EXPECT_TRUE(KeyExists(kProductKey));
    program.ChooseByKeys(L'o', L'c');
    ASSERT_NE(nullptr, program.WaitForDialog(L"Ortelan")) << "the clear item was greyed";
    // A question that goes with its closed owner is no OK: nothing is deleted.
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(8u, ValueCount());
}

// Values edited by hand: what is not a whole, plain position or flag counts as missing, and a
// position is always brought wholly onto the screen, the frame keeping the size its panels need.
TEST_F(SettingsJourney, HandEditedValuesAreCheckedBeforeUse)
{
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const ULONGLONG zero = 0;
    const RECT somewhere = {300, 200, 600, 500};
    // Every case saves the disk panel hidden; one value may then be
    // rewritten as a 0 of another type or length.
    struct Case { RECT stored; LPCWSTR edited; DWORD type, size; bool systemPlaces, diskShown, flush; };
    const Case cases[] = {
        {{-3000, -2000, -2700, -1600}, nullptr, 0, 0, false, false, false},
        {{100000, 100, 0, 400}, nullptr, 0, 0, true, false, false},
        {{100, -100000, 400, -100000}, nullptr, 0, 0, true, false, false},
        {{LONG_MIN, LONG_MIN, LONG_MAX, LONG_MAX}, nullptr, 0, 0, false, false, false},
        {{0, 0, 5000, 300}, nullptr, 0, 0, false, false, false},
        // Smaller than the frame at the work area's corner: the frame ends flush with it.
        {{work.right - 100, work.bottom - 100, work.right, work.bottom}, nullptr, 0, 0, false, false, true},
        {somewhere, L"Window_Left", REG_SZ, 4, true, false, false},
        {somewhere, L"Window_Left", REG_DWORD, 2, true, false, false},
        {somewhere, L"Menu_Memory", REG_DWORD, 2, false, false, false},
        {somewhere, L"Menu_Memory", REG_BINARY, 4, false, false, false},
        {somewhere, L"Menu_Disk", REG_DWORD, 8, false, true, false},
    };
    for (const auto& item : cases)
    {
        SCOPED_TRACE(testing::Message() << item.stored.left << "," << item.stored.top << "," << item.stored.right
                                        << "," << item.stored.bottom << " " << (item.edited ? item.edited : L""));
        RemoveAllSettings();
        WriteAll(1, 1, 0, 1, item.stored);
        if (item.edited != nullptr)
            WriteValue(item.edited, item.type, &zero, item.size);
        Ortelan program;
        RECT rc = WindowRect(program.Frame());
        EXPECT_TRUE(rc.left >= work.left && rc.top >= work.top && rc.right <= work.right && rc.bottom <= work.bottom);
        EXPECT_EQ(item.systemPlaces, rc.left == 50 && rc.top == 60);
        EXPECT_EQ(item.flush, rc.right == work.right && rc.bottom == work.bottom);
        EXPECT_EQ(item.diskShown ? "MDP" : "MP", program.Stack());
        EXPECT_TRUE(IsTopMost(program.Frame()));
    }
}

} // namespace
