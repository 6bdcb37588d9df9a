#include "res/resource.h"
#include "tests/support/Files.h"
#include "tests/support/Program.h"
#include "tests/support/Units.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace support;

const wchar_t kCreated[] = L"ファイル作成成功";
const wchar_t kNoFolder[] = L"フォルダが存在しません";
const wchar_t kNotFound[] = L"ファイルが見つかりません";
const wchar_t kNotCreated[] = L"ファイルが作られていません";
const wchar_t kDeleted[] = L"ファイルを削除しました";

// The disk pressure panel of a running program; its folder field mostly filled as the browser fills it.
class DiskJourney : public testing::Test
{
protected:
    std::wstring Press(int button)
    {
        SetText(program.Control(IDC_DISK_STATUS), L"");
        program.Press(button);
        return program.TextOf(IDC_DISK_STATUS);
    }
    std::wstring Create(const std::wstring& folder, const std::wstring& megabytes, int button = IDC_DISK_CREATE)
    {
        SetText(program.Control(IDC_DISK_FOLDER), folder);
        SetText(program.Control(IDC_DISK_SIZE), megabytes);
        return Press(button);
    }
    // What the folder field shows once a folder is chosen in "参照"'s browser and answered.
    std::wstring Browse(const std::wstring& to, int answer)
    {
        ::PostMessageW(program.Control(IDC_DISK_BROWSE), BM_CLICK, 0, 0);
        HWND browser = program.WaitForDialog(L"");
        EXPECT_TRUE(browser != nullptr && program.SelectFolder(browser, to)) << "no folder " << to.size();
        EXPECT_TRUE(Says(browser, L"ファイル作成先フォルダの選択"));
        EXPECT_FALSE(::IsWindowEnabled(program.Frame()));
        ::PostMessageW(::GetDlgItem(browser, answer), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(browser); }));
        return program.TextOf(IDC_DISK_FOLDER);
    }
    // What a file holds and what the size line says, in MiB.
    std::wstring Held(const std::wstring& path) const
    {
        return std::to_wstring(FileSize(path) / LONGLONG(kMiB)) + L" " + program.TextOf(IDC_DISK_SIZE_TEXT);
    }
    static std::wstring Held(int mb) { return std::to_wstring(mb) + L" ファイルサイズ: " + std::to_wstring(mb) + L"MB"; }

    Ortelan program;
    TempFolder folder;
    std::wstring target = folder.Path(L"Ortelan.dat");
};

TEST_F(DiskJourney, OneFileIsMadeReplacedMovedAndDeletedAndClosingDeletesIt)
{
    EXPECT_EQ(L"ディスク確保待ち", program.TextOf(IDC_DISK_STATUS));
    EXPECT_EQ(L"1", program.TextOf(IDC_DISK_SIZE));
    EXPECT_EQ(kNoFolder, Press(IDC_DISK_CREATE));
    EXPECT_EQ(kNotFound, Press(IDC_DISK_DELETE));
    // The folder is chosen in the browser; Cancel leaves the field as it was.
    EXPECT_EQ(folder.Path(), Browse(folder.Path(), IDOK));
    EXPECT_EQ(folder.Path(), Browse(folder.Subfolder(L"second"), IDCANCEL));
    EXPECT_EQ(kCreated, Press(IDC_DISK_CREATE));
    EXPECT_EQ(Held(1), Held(target));
    EXPECT_EQ(kCreated, Create(folder.Path(), L"2"));
    EXPECT_EQ(Held(2), Held(target));

    // Another folder: the first file goes.
    std::wstring moved = folder.Path(L"second\\Ortelan.dat");
    EXPECT_EQ(kCreated, Create(folder.Path(L"second"), L"3"));
    EXPECT_EQ(-1, FileSize(target));
    EXPECT_EQ(Held(3), Held(moved));

    // A size of 0 fails, and the file of the earlier size is put back; a
    // folder that is not there changes nothing, for either button.
    EXPECT_EQ(L"内部エラー", Create(folder.Path(), L"0"));
    EXPECT_EQ(Held(3), Held(target));
    for (int button : {IDC_DISK_CREATE, IDC_DISK_CREATE_LIMIT})
    {
        EXPECT_EQ(kNoFolder, Create(folder.Path(L"missing"), L"5", button));
        EXPECT_EQ(Held(3), Held(target));
        EXPECT_EQ(L"5", program.TextOf(IDC_DISK_SIZE));
    }

    // Read-only, the file cannot be deleted yet: it stays the program's, no
    // other is made beside it, and the close deletes it once it can.
    ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(kNotCreated, Press(IDC_DISK_DELETE));
    EXPECT_EQ(L"内部エラー", Create(folder.Path(L"second"), L"1"));
    EXPECT_EQ(Held(3), Held(target));
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_EQ(-1, FileSize(target));
}

TEST_F(DiskJourney, FilesThatAreNotTheProgramsOwnAreNeverTouched)
{
    // Deleted behind the program's back, then another file in its place.
    EXPECT_EQ(kCreated, Create(folder.Path(), L"1"));
    ASSERT_TRUE(::DeleteFileW(target.c_str()));
    ASSERT_TRUE(WriteWholeFile(target, "someone else's"));
    EXPECT_EQ(kNotCreated, Press(IDC_DISK_DELETE));
    EXPECT_EQ(kNotFound, Press(IDC_DISK_DELETE));
    EXPECT_EQ(14, FileSize(target));
    EXPECT_EQ(L"0 ファイルサイズ: 0MB", Held(target));

    // A file of that name already there: the program's own goes, the other
    // stays, and nothing is held.
    std::wstring other = folder.Subfolder(L"other");
    EXPECT_EQ(kCreated, Create(other, L"2"));
    EXPECT_EQ(L"同名のファイルが存在します", Create(folder.Path(), L"1"));
    EXPECT_EQ(-1, FileSize(other + L"\\Ortelan.dat"));
    EXPECT_EQ(L"0 ファイルサイズ: 0MB", Held(target));
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(14, FileSize(target));
}

TEST_F(DiskJourney, SizeFieldIsCappedAsTypedAndSizesAreCountedIn64Bits)
{
    HWND edit = program.Control(IDC_DISK_SIZE);
    SetText(edit, L"");
    TypeText(edit, L"99999999");
    EXPECT_TRUE(WaitUntil([&] { return Text(edit) == L"95367431"; })) << Text(edit);
    // What a paste puts there; the field takes no minus sign from the keys.
    SetText(edit, L"95367432");
    EXPECT_EQ(L"95367431", Text(edit));
    SetText(edit, L"-5");
    EXPECT_EQ(L"1", Text(edit));

    // 5,000 MB is more than 32 bits of bytes, and so is the free space of
    // the 6 GiB volume, which the limit fills.
    TestVolume volume = MountedVolume(L"large", 6ULL << 30);
    if (volume.path.empty())
        GTEST_SKIP() << volume.missing;
    const std::wstring onVolume = volume.path + L"\\Ortelan.dat";
    const ULONGLONG free = FreeBytes(volume.path);
    EXPECT_EQ(kCreated, Create(volume.path, L"5000"));
    EXPECT_EQ(5242880000LL, FileSize(onVolume));
    EXPECT_EQ(Held(5000), Held(onVolume));
    EXPECT_EQ(kCreated, Press(IDC_DISK_CREATE_LIMIT));
    EXPECT_EQ(std::to_wstring(free >> 20), program.TextOf(IDC_DISK_SIZE));
    EXPECT_GE(ULONGLONG(FileSize(onVolume)) + kMiB, free);
    EXPECT_EQ(Held(int(FileSize(onVolume) >> 20)), Held(onVolume));
    EXPECT_EQ(kDeleted, Press(IDC_DISK_DELETE));
    EXPECT_EQ(free, FreeBytes(volume.path));
}

// On the small volumes that the disk_volumes fixture mounts.
TEST_F(DiskJourney, OnSmallVolumesTheFreeSpaceBoundsAndTheLimitFillsIt)
{
    TestVolume volume = MountedVolume(L"O:", 128 << 20);
    TestVolume readOnly = MountedVolume(L"readonly", 1 << 20);
    if (volume.path.empty() || readOnly.path.empty())
        GTEST_SKIP() << volume.missing << readOnly.missing;
    std::wstring onVolume = volume.path + L"Ortelan.dat";
    ULONGLONG freeBefore = FreeBytes(volume.path);
    ASSERT_EQ(kCreated, Create(volume.path, L"100"));
    EXPECT_EQ(L"ファイル作成失敗", Create(volume.path, L"200"));
    EXPECT_EQ(Held(100), Held(onVolume));
    EXPECT_EQ(kDeleted, Press(IDC_DISK_DELETE));
    EXPECT_EQ(L"ファイル作成失敗", Create(volume.path, L"200"));
    EXPECT_EQ(Held(0), Held(onVolume));

    // The limit gives up the file it holds before it reads the free space.
    ASSERT_EQ(kCreated, Create(volume.path, L"32"));
    EXPECT_EQ(kCreated, Press(IDC_DISK_CREATE_LIMIT));
    EXPECT_EQ(std::to_wstring(freeBefore >> 20), program.TextOf(IDC_DISK_SIZE));
    EXPECT_EQ(Held(int(FileSize(onVolume) >> 20)), Held(onVolume));
    EXPECT_EQ(0u, FreeBytes(volume.path));

    // Denied access at the new place: nothing is held any longer.
    EXPECT_EQ(L"アクセス権限がありません", Create(readOnly.path, L"1"));
    EXPECT_EQ(freeBefore, FreeBytes(volume.path));
}

} // namespace
