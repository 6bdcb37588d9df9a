#include "RunApplication.h"

#include "MainFrame.h"

#include <memory>

int RunApplication(int nCmdShow)
{
    auto loop = std::make_unique<CMessageLoop>();
    g_module.AddMessageLoop(loop.get());

    auto frame = std::make_unique<CMainFrame>();
    if (frame->CreateEx(nullptr, nullptr, CMainFrame::kStyle, CMainFrame::kExStyle) == nullptr)
    {
        frame.reset();
        g_module.RemoveMessageLoop();
        return 0;
    }
    frame->m_hAccel = ::LoadAcceleratorsW(g_module.GetResourceInstance(),
                                          MAKEINTRESOURCEW(IDR_MAINFRAME));
    frame->ShowWindow(nCmdShow);

    int result = loop->Run();

    g_module.RemoveMessageLoop();
    frame.reset();
    return result;
}
