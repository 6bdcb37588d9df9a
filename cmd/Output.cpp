#include "Output.h"

#include <windows.h>

namespace {

void WriteLine(DWORD stream, std::wstring line)
{
    HANDLE handle = ::GetStdHandle(stream);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    line += L"\r\n";
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(handle, &mode))
    {
        ::WriteConsoleW(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), &utf8[0], bytes, nullptr,
                          nullptr);
    // A pipe may take less than the whole at once.
    for (size_t done = 0; done < utf8.size(); done += written)
    {
        if (!::WriteFile(handle, utf8.data() + done, static_cast<DWORD>(utf8.size() - done), &written, nullptr) ||
            written == 0)
            return;
    }
}

} // namespace

void WriteOutput(const std::wstring& line)
{
    WriteLine(STD_OUTPUT_HANDLE, line);
}

void WriteError(const std::wstring& line)
{
    WriteLine(STD_ERROR_HANDLE, L"OrtelanCmd: " + line);
}
