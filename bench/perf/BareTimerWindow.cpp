// The baseline of the idle benchmark: a bare window with a 500 ms timer that
// does nothing, the least a program refreshing twice a second can cost.
#include <windows.h>

namespace {

const wchar_t kClassName[] = L"OrtelanBenchBareWindow";

LRESULT CALLBACK BareWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_CREATE:
        ::SetTimer(hWnd, 1, 500, nullptr);
        return 0;
    case WM_TIMER:
        return 0;
    case WM_DESTROY:
        ::KillTimer(hWnd, 1);
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int showCommand)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = hInstance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (::RegisterClassExW(&windowClass) == 0)
        return 1;
    HWND window = ::CreateWindowExW(0, kClassName, L"Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                    300, 200, nullptr, nullptr, hInstance, nullptr);
    if (window == nullptr)
        return 1;
    ::ShowWindow(window, showCommand);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
