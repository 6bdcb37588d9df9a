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

// The disk pressure panel of a running program; the folder field is filled
// as the folder browser fills it.
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
    std::wstring SizeLine() const { return program.TextOf(IDC_DISK_SIZE_TEXT); }
    static std::wstring Line(LONGLONG megabytes) { return L"ファイルサイズ: " + std::to_wstring(megabytes) + L"MB"; }

    Ortelan program;
    TempFolder folder;
    std::wstring target = folder.Path(L"Ortelan.dat");
};

TEST_F(DiskJourney, OneFileIsMadeReplacedMovedAndDeletedAndClosingDeletesIt)
{
    EXPECT_EQ(L"ディスク確保待ち", program.TextOf(IDC_DISK_STATUS));
    EXPECT_EQ(Line(0), SizeLine());
    EXPECT_EQ(L"1", program.TextOf(IDC_DISK_SIZE));
    EXPECT_EQ(kNoFolder, Press(IDC_DISK_CREATE));
    EXPECT_EQ(kNotFound, Press(IDC_DISK_DELETE));

    EXPECT_EQ(kCreated, Create(folder.Path(), L"1"));
    EXPECT_EQ(LONGLONG(kMiB), FileSize(target));
    EXPECT_EQ(Line(1), SizeLine());
    EXPECT_EQ(kCreated, Create(folder.Path(), L"2"));
    EXPECT_EQ(LONGLONG(2 * kMiB), FileSize(target));

    // Another folder: the first file goes.
    std::wstring second = folder.Subfolder(L"second");
    std::wstring moved = second + L"\\Ortelan.dat";
    EXPECT_EQ(kCreated, Create(second, L"2"));
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(LONGLONG(2 * kMiB), FileSize(moved));

    // A size of 0 fails, and the file of the earlier size is put back.
    EXPECT_EQ(L"内部エラー", Create(second, L"0"));
    EXPECT_EQ(LONGLONG(2 * kMiB), FileSize(moved));
    EXPECT_EQ(Line(2), SizeLine());

    // A folder that is not there changes nothing, for either button.
    for (int button : {IDC_DISK_CREATE, IDC_DISK_CREATE_LIMIT})
    {
        EXPECT_EQ(kNoFolder, Create(folder.Path(L"missing"), L"5", button));
        EXPECT_EQ(LONGLONG(2 * kMiB), FileSize(moved));
        EXPECT_EQ(Line(2), SizeLine());
        EXPECT_EQ(L"5", program.TextOf(IDC_DISK_SIZE));
    }

    ASSERT_TRUE(program.Close());
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_FALSE(FileExists(moved));
}

TEST_F(DiskJourney, FilesThatAreNotTheProgramsOwnAreNeverTouched)
{
    // Deleted behind the program's back, then another file at its place.
    EXPECT_EQ(kCreated, Create(folder.Path(), L"1"));
    ASSERT_TRUE(::DeleteFileW(target.c_str()));
    EXPECT_EQ(kNotCreated, Press(IDC_DISK_DELETE));
    EXPECT_EQ(kNotFound, Press(IDC_DISK_DELETE));

    EXPECT_EQ(kCreated, Create(folder.Path(), L"1"));
    ASSERT_TRUE(::DeleteFileW(target.c_str()));
    ASSERT_TRUE(WriteWholeFile(target, "someone else's"));
    EXPECT_EQ(kNotCreated, Press(IDC_DISK_DELETE));
    EXPECT_EQ(14, FileSize(target));
    EXPECT_EQ(Line(0), SizeLine());

    // A file of that name already there: the program's own goes, the other
    // stays, and nothing is held.
    std::wstring other = folder.Subfolder(L"other");
    EXPECT_EQ(kCreated, Create(other, L"2"));
    EXPECT_EQ(L"同名のファイルが存在します", Create(folder.Path(), L"1"));
    EXPECT_EQ(14, FileSize(target));
    EXPECT_FALSE(FileExists(other + L"\\Ortelan.dat"));
    EXPECT_EQ(Line(0), SizeLine());
    EXPECT_EQ(kNotFound, Press(IDC_DISK_DELETE));

    ASSERT_TRUE(program.Close());
    EXPECT_EQ(14, FileSize(target));
}

TEST_F(DiskJourney, SizeFieldIsCappedAsTypedAndSizesAreCountedIn64Bits)
{
    HWND edit = program.Control(IDC_DISK_SIZE);
    SetText(edit, L"");
    TypeText(edit, L"99999999");
    EXPECT_TRUE(WaitUntil([&] { return Text(edit) == L"95367431"; })) << Text(edit);
    EXPECT_EQ(MAKELONG(8, 8), ::SendMessageW(edit, EM_GETSEL, 0, 0));
    // What a paste puts there; the field takes no minus sign from the keys.
    SetText(edit, L"-5");
    EXPECT_EQ(L"1", Text(edit));
    SetText(edit, L"");
    TypeText(edit, L"0");
    EXPECT_TRUE(WaitUntil([&] { return Text(edit) == L"0"; })) << Text(edit);

    // 5,000 MB is more than 32 bits of bytes. Extending a file takes no time
    // on the build folder's disk, but the space must be there.
    if (FreeBytes(folder.Path()) < 6000 * kMiB)
        GTEST_SKIP() << "less than 6,000 MiB free beside the test prefix";
    EXPECT_EQ(kCreated, Create(folder.Path(), L"5000"));
    EXPECT_EQ(5242880000LL, FileSize(target));
    EXPECT_EQ(Line(5000), SizeLine());
    EXPECT_EQ(kDeleted, Press(IDC_DISK_DELETE));
}

// On the small volumes that the disk_volumes fixture mounts.
TEST_F(DiskJourney, OnSmallVolumesTheFreeSpaceBoundsAndTheLimitFillsIt)
{
    TestVolume volume = PanelVolume();
    if (volume.path.empty())
        GTEST_SKIP() << volume.missing;
    std::wstring onVolume = volume.path + L"Ortelan.dat";
    ASSERT_EQ(kCreated, Create(volume.path, L"100"));
    EXPECT_EQ(L"ファイル作成失敗", Create(volume.path, L"200"));
    EXPECT_EQ(LONGLONG(100 * kMiB), FileSize(onVolume));
    EXPECT_EQ(Line(100), SizeLine());
    EXPECT_EQ(kDeleted, Press(IDC_DISK_DELETE));
    EXPECT_EQ(L"ファイル作成失敗", Create(volume.path, L"200"));
    EXPECT_EQ(0, FileSize(onVolume));
    EXPECT_EQ(kDeleted, Press(IDC_DISK_DELETE));

    // The limit gives up the file it holds before it reads the free space.
    ULONGLONG freeBefore = FreeBytes(volume.path);
    ASSERT_EQ(kCreated, Create(volume.path, L"32"));
    EXPECT_EQ(kCreated, Press(IDC_DISK_CREATE_LIMIT));
    EXPECT_EQ(std::to_wstring(freeBefore >> 20), program.TextOf(IDC_DISK_SIZE));
    EXPECT_EQ(Line(FileSize(onVolume) >> 20), SizeLine());
    EXPECT_EQ(0u, FreeBytes(volume.path));

    // Denied access to the new place: nothing held any longer.
    TestVolume readOnly = ReadOnlyVolume();
    if (readOnly.path.empty())
        GTEST_SKIP() << readOnly.missing;
    EXPECT_EQ(L"アクセス権限がありません", Create(readOnly.path, L"1"));
    EXPECT_EQ(Line(0), SizeLine());
    EXPECT_EQ(freeBefore, FreeBytes(volume.path));
}

} // namespace
