// Measures the disk manager's Reserve against the bare system calls it is
// made of, at 1 GiB and 16 GiB, and the panel's limit creation on a small
// volume against one bare creation of the volume's free space.
//   build/wine-exec.sh build/bench/disk_bench.exe      (sizes only)
//   tools/bench.sh                                     (with the limit)

#include "bench/support/Measure.h"
#include "disk/DiskManager.h"
#include "disk/WndDisk.h"
#include "framework/AppModule.h"
#include "framework/WineDetect.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

const ULONGLONG kGiB = 1ULL << 30;
const int kRounds = 5;

double TimeMs(const std::function<void()>& work)
{
    double start = NowMs();
    work();
    return NowMs() - start;
}

// The calls a reservation is made of and nothing else: create, size through
// a mapping (and on Wine allocate the blocks), close.
bool BareReserve(const std::wstring& path, ULONGLONG bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    HANDLE mapping = ::CreateFileMappingW(file, nullptr, PAGE_READWRITE, static_cast<DWORD>(bytes >> 32),
                                          static_cast<DWORD>(bytes), nullptr);
    bool ok = mapping != nullptr;
    if (ok)
        ::CloseHandle(mapping);
    if (ok && IsRunningOnWine())
        ok = ::SetFileValidData(file, static_cast<LONGLONG>(bytes)) != FALSE;
    ::CloseHandle(file);
    return ok;
}

ULONGLONG FreeBytes(const std::wstring& path)
{
    ULARGE_INTEGER available = {};
    return ::GetDiskFreeSpaceExW(path.c_str(), &available, nullptr, nullptr) ? available.QuadPart : 0;
}

struct Timing
{
    double managerMs = 0;
    double bareMs = 0;
};

Timing CompareReserve(const std::wstring& folder, ULONGLONG bytes)
{
    std::wstring path = folder + L"\\Ortelan.dat";
    if (FreeBytes(folder) < bytes + kGiB)
    {
        std::printf("%3llu GiB: skipped, the temporary folder's volume has less than %llu GiB free\n",
                    bytes / kGiB, bytes / kGiB + 1);
        return Timing();
    }
    // Each round starts without a file; deleting the previous one is not timed.
    std::vector<double> manager;
    std::vector<double> bare;
    bool allOk = true;
    for (int round = 0; round < kRounds; ++round)
    {
        CDiskManager reserving;
        manager.push_back(TimeMs([&] { allOk &= reserving.Reserve(path.c_str(), bytes) == DiskResult::Ok; }));
        reserving.Release();
        bare.push_back(TimeMs([&] { allOk &= BareReserve(path, bytes); }));
        ::DeleteFileW(path.c_str());
    }
    Timing timing;
    timing.managerMs = Median(manager);
    timing.bareMs = Median(bare);
    std::printf("%3llu GiB: Reserve %8.2f ms   bare calls %8.2f ms   ratio %.2f%s\n", bytes / kGiB, timing.managerMs,
                timing.bareMs, timing.managerMs / timing.bareMs, allOk ? "" : "   (SOME CREATIONS FAILED)");
    std::string figure = "file of " + std::to_string(bytes / kGiB) + " GiB";
    if (allOk)
        PrintRow(figure.c_str(), timing.managerMs, timing.bareMs, "bare create and mapping", "ms");
    return timing;
}

// The panel's "限界作成" on the volume whose root is given, as the user
// presses it: the handler runs to its end inside SendMessage.
void CompareLimit(const std::wstring& root)
{
    HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    std::vector<double> panelMs;
    std::vector<double> bareMs;
    ULONGLONG freeBytes = 0;
    ULONGLONG madeBytes = 0;
    for (int round = 0; round < kRounds; ++round)
    {
        CWndDisk panel;
        panel.Create(parent);
        panel.SetDlgItemText(IDC_DISK_FOLDER, root.c_str());
        freeBytes = FreeBytes(root);
        panelMs.push_back(TimeMs([&] {
            panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DISK_CREATE_LIMIT, BN_CLICKED),
                              reinterpret_cast<LPARAM>(panel.GetDlgItem(IDC_DISK_CREATE_LIMIT)));
        }));
        WIN32_FILE_ATTRIBUTE_DATA made = {};
        if (::GetFileAttributesExW((root + L"Ortelan.dat").c_str(), GetFileExInfoStandard, &made))
            madeBytes = (static_cast<ULONGLONG>(made.nFileSizeHigh) << 32) | made.nFileSizeLow;
        panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DISK_DELETE, BN_CLICKED));
        panel.DestroyWindow();

        std::wstring path = root + L"Ortelan.dat";
        ULONGLONG available = FreeBytes(root);
        bareMs.push_back(TimeMs([&] { BareReserve(path, available); }));
        ::DeleteFileW(path.c_str());
    }
    ::DestroyWindow(parent);
    double panelMedian = Median(panelMs);
    double bareMedian = Median(bareMs);
    std::printf("limit on %llu bytes free: panel %8.2f ms   bare calls %8.2f ms   ratio %.2f   (file made: %llu bytes)\n",
                freeBytes, panelMedian, bareMedian, panelMedian / bareMedian, madeBytes);
    std::string figure = "限界作成 on " + std::to_string(freeBytes >> 20) + " MiB free";
    PrintRow(figure.c_str(), panelMedian, bareMedian, "one bare creation of the free space", "ms");
}

} // namespace

int main()
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&controls);
    g_module.Init(::GetModuleHandleW(nullptr));

    std::printf("Disk pressure: median of %d rounds%s\n", kRounds,
                IsRunningOnWine() ? ", on Wine (sizing includes the block allocation)" : "");

    WCHAR temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"ortelan-disk-bench";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    Timing small = CompareReserve(folder, 1 * kGiB);
    Timing large = CompareReserve(folder, 16 * kGiB);
    if (small.bareMs > 0 && large.bareMs > 0)
        std::printf("16 GiB / 1 GiB: Reserve x%.1f   bare calls x%.1f\n", large.managerMs / small.managerMs,
                    large.bareMs / small.bareMs);
    ::RemoveDirectoryW(folder.c_str());

    const char* volume = std::getenv("ORTELAN_BENCH_VOLUME");
    if (volume == nullptr || *volume == '\0')
    {
        std::printf("limit: skipped, no volume (tools/bench.sh mounts a 256 MiB tmpfs for it)\n");
    }
    else
    {
        std::wstring root(volume, volume + std::strlen(volume));
        CompareLimit(root + L"\\");
    }

    g_module.Term();
    return 0;
}
