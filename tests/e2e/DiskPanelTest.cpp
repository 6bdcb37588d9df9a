#include "Driver.h"

#include "res/resource.h"
#include "tests/disk/DiskTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace e2e;
using namespace disktest;

const LONGLONG kMiB = 1048576;

// The disk pressure panel of a running Ortelan. The folder field is filled as
// the folder browser fills it.
class DiskPanel : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program.Start()) << "no main window";
        panel = program.Panel(IDC_DISK_SIZE);
        ASSERT_NE(nullptr, panel);
    }

    HWND Item(int id) const { return ::GetDlgItem(panel, id); }
    std::wstring Status() const { return Text(Item(IDC_DISK_STATUS)); }
    std::wstring SizeLine() const { return Text(Item(IDC_DISK_SIZE_TEXT)); }
    std::wstring Size() const { return Text(Item(IDC_DISK_SIZE)); }

    // A click that returns once the panel has handled it.
    std::wstring Press(int button)
    {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(Item(button), BM_CLICK, 0, 0, SMTO_BLOCK, 60000, &result);
        return Status();
    }
    std::wstring Create(const std::wstring& folder, const std::wstring& megabytes)
    {
        SetText(Item(IDC_DISK_FOLDER), folder);
        SetText(Item(IDC_DISK_SIZE), megabytes);
        return Press(IDC_DISK_CREATE);
    }

    static std::wstring Line(LONGLONG megabytes) { return L"ファイルサイズ: " + std::to_wstring(megabytes) + L"MB"; }

    OrtelanProcess program;
    HWND panel = nullptr;
    TempFolder folder;
    std::wstring target = folder.Path(L"Ortelan.dat");
};

TEST_F(DiskPanel, CreatesReplacesAndMovesOneFileThatClosingDeletes)
{
    EXPECT_EQ(L"ディスク確保待ち", Status());
    EXPECT_EQ(Line(0), SizeLine());
    EXPECT_EQ(L"1", Size());
    EXPECT_EQ(L"フォルダが存在しません", Press(IDC_DISK_CREATE));

    EXPECT_EQ(L"ファイル作成成功", Create(folder.Path(), L"1"));
    EXPECT_EQ(kMiB, FileSize(target));
    EXPECT_EQ(Line(1), SizeLine());

    EXPECT_EQ(L"ファイル作成成功", Create(folder.Path(), L"2"));
    EXPECT_EQ(2 * kMiB, FileSize(target));
    EXPECT_EQ(Line(2), SizeLine());

    std::wstring second = folder.Subfolder(L"second");
    std::wstring secondTarget = second + L"\\Ortelan.dat";
    EXPECT_EQ(L"ファイル作成成功", Create(second, L"2"));
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(2 * kMiB, FileSize(secondTarget));

    // Enter in the size field presses the default button, "ファイル作成".
    SetText(Item(IDC_DISK_SIZE), L"3");
    SetText(Item(IDC_DISK_STATUS), L"");
    ClickInto(Item(IDC_DISK_SIZE));
    PressKey(Item(IDC_DISK_SIZE), VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return Status() == L"ファイル作成成功"; })) << "Enter did not create";
    EXPECT_EQ(3 * kMiB, FileSize(secondTarget));

    EXPECT_EQ(L"内部エラー", Create(second, L"0"));
    EXPECT_EQ(3 * kMiB, FileSize(secondTarget));
    EXPECT_EQ(Line(3), SizeLine());

    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_FALSE(FileExists(secondTarget));
}

TEST_F(DiskPanel, DeletionAndForeignFilesAreReportedInTheStatusLine)
{
    EXPECT_EQ(L"ファイルが見つかりません", Press(IDC_DISK_DELETE));

    EXPECT_EQ(L"ファイル作成成功", Create(folder.Path(), L"1"));
    ASSERT_TRUE(::DeleteFileW(target.c_str()));
    EXPECT_EQ(L"ファイルが作られていません", Press(IDC_DISK_DELETE));
    EXPECT_EQ(L"ファイルが見つかりません", Press(IDC_DISK_DELETE));

    ASSERT_TRUE(WriteWholeFile(target, "someone else's"));
    EXPECT_EQ(L"同名のファイルが存在します", Create(folder.Path(), L"1"));
    EXPECT_EQ("someone else's", ReadWholeFile(target));
    EXPECT_EQ(Line(0), SizeLine());
}

TEST_F(DiskPanel, SizeFieldIsCappedAsTypedAndKeepsTheCaret)
{
    HWND edit = Item(IDC_DISK_SIZE);
    SetText(edit, L"");
    TypeText(edit, L"99999999");
    EXPECT_TRUE(WaitUntil([&] { return Size() == L"95367431"; })) << Size();
    EXPECT_EQ(MAKELONG(8, 8), ::SendMessageW(edit, EM_GETSEL, 0, 0));

    SetText(edit, L"9999999");
    ::SendMessageW(edit, EM_SETSEL, 3, 3);
    TypeText(edit, L"9");
    EXPECT_TRUE(WaitUntil([&] { return Size() == L"95367431"; })) << Size();
    EXPECT_EQ(MAKELONG(4, 4), ::SendMessageW(edit, EM_GETSEL, 0, 0));

    SetText(edit, L"95367432");
    EXPECT_EQ(L"95367431", Size());
    // What a paste puts there; the field takes no minus sign from the keyboard.
    SetText(edit, L"-5");
    EXPECT_EQ(L"1", Size());
    SetText(edit, L"");
    // The check runs as the key is handled, so a corrected 0 never shows.
    TypeText(edit, L"0");
    EXPECT_TRUE(WaitUntil([&] { return Size() == L"0"; })) << Size();
}

TEST_F(DiskPanel, HidingAndShowingThePanelKeepsTheFileFieldsAndLines)
{
    EXPECT_EQ(L"ファイル作成成功", Create(folder.Path(), L"3"));
    ChooseMenu(program.Frame(), ID_VIEW_DISK);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(panel); }));
    EXPECT_EQ(3 * kMiB, FileSize(target));
    ChooseMenu(program.Frame(), ID_VIEW_DISK);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(panel) != FALSE; }));

    EXPECT_EQ(3 * kMiB, FileSize(target));
    EXPECT_EQ(L"3", Size());
    EXPECT_EQ(folder.Path(), Text(Item(IDC_DISK_FOLDER)));
    EXPECT_EQ(L"ファイル作成成功", Status());
    EXPECT_EQ(Line(3), SizeLine());
    EXPECT_EQ(L"ファイルを削除しました", Press(IDC_DISK_DELETE));
}

// Confirming the browser's first choice fills the folder field with that
// folder; cancelling keeps the field.
TEST_F(DiskPanel, TheFolderBrowserFillsTheFolderOnlyWhenConfirmed)
{
    std::wstring chosen;
    for (int button : {IDOK, IDCANCEL})
    {
        SetText(Item(IDC_DISK_FOLDER), folder.Path());
        Click(Item(IDC_DISK_BROWSE));

        // The browser is a new top-level dialog of the program, titled with
        // the panel's prompt.
        HWND browser = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            for (HWND window : program.TopLevelWindows(L"#32770"))
            {
                if (::IsWindowVisible(window))
                    browser = window;
            }
            return browser != nullptr;
        })) << "no folder browser appeared";
        std::vector<std::wstring> texts = StaticTexts(browser);
        EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), L"ファイル作成先フォルダの選択"));

        Click(::GetDlgItem(browser, button));
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(browser); })) << "the browser stayed open";
        if (button == IDOK)
            chosen = Text(Item(IDC_DISK_FOLDER));
    }
    EXPECT_NE(folder.Path(), chosen);
    DWORD attributes = ::GetFileAttributesW(chosen.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << chosen;
    EXPECT_EQ(folder.Path(), Text(Item(IDC_DISK_FOLDER)));
    EXPECT_EQ(L"ファイル作成成功", Create(folder.Path(), L"1"));
}

// On the small volumes that the disk_volumes fixture mounts.
class DiskPanelOnVolume : public DiskPanel
{
protected:
    void SetUp() override
    {
        volume = PanelVolume();
        if (volume.path.empty())
            GTEST_SKIP() << volume.missing;
        DiskPanel::SetUp();
    }
    TestVolume volume;
};

TEST_F(DiskPanelOnVolume, RequestAboveTheFreeSpaceFailsAndKeepsTheEarlierSize)
{
    std::wstring onVolume = volume.path + L"Ortelan.dat";
    ASSERT_EQ(L"ファイル作成成功", Create(volume.path, L"100"));

    EXPECT_EQ(L"ファイル作成失敗", Create(volume.path, L"200"));
    EXPECT_EQ(100 * kMiB, FileSize(onVolume));
    EXPECT_EQ(Line(100), SizeLine());

    EXPECT_EQ(L"ファイルを削除しました", Press(IDC_DISK_DELETE));
    EXPECT_EQ(L"ファイル作成失敗", Create(volume.path, L"200"));
    EXPECT_EQ(0, FileSize(onVolume));
    EXPECT_EQ(Line(0), SizeLine());
    EXPECT_EQ(L"ファイルを削除しました", Press(IDC_DISK_DELETE));
    EXPECT_FALSE(FileExists(onVolume));
}

TEST_F(DiskPanelOnVolume, LimitFillsTheVolumeAndShowsTheFreeSpaceItFound)
{
    // The file held on the volume is given up before its free space is read.
    std::wstring onVolume = volume.path + L"Ortelan.dat";
    ULONGLONG freeBefore = FreeBytes(volume.path);
    ASSERT_EQ(L"ファイル作成成功", Create(volume.path, L"32"));
    EXPECT_EQ(L"ファイル作成成功", Press(IDC_DISK_CREATE_LIMIT));

    EXPECT_EQ(std::to_wstring(freeBefore >> 20), Size());
    LONGLONG made = FileSize(onVolume);
    EXPECT_LE(made, LONGLONG(freeBefore));
    EXPECT_EQ(Line(made >> 20), SizeLine());
    EXPECT_EQ(0u, FreeBytes(volume.path));

    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_EQ(freeBefore, FreeBytes(volume.path));
}

TEST_F(DiskPanelOnVolume, ReadOnlyFolderIsAccessDenied)
{
    TestVolume readOnly = ReadOnlyVolume();
    if (readOnly.path.empty())
        GTEST_SKIP() << readOnly.missing;
    EXPECT_EQ(L"アクセス権限がありません", Create(readOnly.path, L"1"));
    EXPECT_EQ(Line(0), SizeLine());
}

} // namespace
