#include "RunApplication.h"

#include "framework/AppModule.h"

#include <commctrl.h>
#include <objbase.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nCmdShow)
{
    ::CoInitialize(nullptr);

    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&controls);

    g_module.Init(hInstance);
    int result = RunApplication(nCmdShow);
    g_module.Term();

    ::CoUninitialize();
    return result;
}
