#include "framework/AppModule.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <objbase.h>
#include <stdio.h>

// Tests run with the module, COM and common controls set up as in the
// program's own start.
int main(int argc, char** argv)
{
    // Plain line ends, so that CTest reads the test list as it is printed.
    _setmode(_fileno(stdout), _O_BINARY);

    ::CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&controls);
    g_module.Init(::GetModuleHandleW(nullptr));

    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();

    g_module.Term();
    ::CoUninitialize();
    return result;
}
