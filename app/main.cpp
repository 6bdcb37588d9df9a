#include "RunApplication.h"

#include "framework/AppModule.h"
#include "framework/ComApartment.h"

#include <commctrl.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nCmdShow)
{
    // COM is entered when the folder browser first needs it.
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&controls);

    g_module.Init(hInstance);
    int result = RunApplication(nCmdShow);
    g_module.Term();

    LeaveComApartment();
    return result;
}
