#include <windows.h>

// Keeps Wine's desktop in use while the tests run. Wine closes a desktop
// about a second after its last user process ends, and each test process
// would then start a new desktop process that inherits the test's output
// pipe; CTest would wait for it on every test. This process is started once,
// detached, and ends with the Wine server.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    ::GetDesktopWindow();
    ::Sleep(INFINITE);
    return 0;
}
