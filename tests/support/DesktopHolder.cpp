#include <windows.h>

// Keeps Wine's desktop in use while the tests run. Wine closes a desktop a
// second after its last user process ends, and each test would then start a
// new one that inherits its output pipe, for CTest to wait on. Started once,
// detached, it ends with the Wine server.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    ::GetDesktopWindow();
    ::Sleep(INFINITE);
    return 0;
}
