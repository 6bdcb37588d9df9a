#include "CommandLine.h"
#include "FigureLog.h"
#include "Output.h"
#include "Run.h"
#include "Session.h"
#include "TargetFolder.h"

#include "framework/AppModule.h"

#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    // The session's window takes its title and icon from the resources.
    g_module.Init(::GetModuleHandleW(nullptr));

    CommandRequest request;
    std::wstring error;
    if (!ParseCommandLine(std::vector<std::wstring>(argv + 1, argv + argc), CMemoryManager::kLargestRequestMb,
                          request, error))
    {
        WriteError(error);
        return kExitBadCommandLine;
    }
    if (request.usage)
    {
        WriteOutput(UsageText(CMemoryManager::kLargestRequestMb));
        return kExitDone;
    }
    // Every check is made before anything is committed or created.
    std::wstring folder;
    std::wstring target;
    if (request.disk != CommandRequest::Disk::None && !ResolveTargetFolder(request.folder, folder, target, error))
    {
        WriteError(L"/disk:" + request.folder + L": " + error);
        return kExitBadCommandLine;
    }
    CFigureLog log;
    if (!request.log.empty())
    {
        if (!log.Create(request.log, error))
        {
            WriteError(L"/log:" + request.log + L": " + error);
            return kExitBadCommandLine;
        }
        WriteOutput(L"log: " + log.Path());
    }

    CCommandRun run(request, folder, target, request.log.empty() ? nullptr : &log);
    WatchSession(run);
    int code = run.Execute();
    StopWatchingSession();
    return code;
}
