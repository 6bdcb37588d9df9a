#include "Input.h"

#include <algorithm>

namespace {

const DWORD kChunk = 256;

void WaitForConsoleEnter(HANDLE input)
{
    WCHAR text[kChunk];
    for (;;)
    {
        DWORD read = 0;
        if (!::ReadConsoleW(input, text, kChunk, &read, nullptr))
        {
            // Ctrl+C aborts the read; that is an interruption, not Enter.
            if (::GetLastError() == ERROR_OPERATION_ABORTED)
                continue;
            return;
        }
        if (std::any_of(text, text + read, [](WCHAR c) { return c == L'\r' || c == L'\n'; }))
            return;
    }
}

void WaitForLineEnd(HANDLE input)
{
    char bytes[kChunk];
    DWORD read = 0;
    while (::ReadFile(input, bytes, kChunk, &read, nullptr) && read != 0)
    {
        if (std::find(bytes, bytes + read, '\n') != bytes + read)
            return;
    }
}

} // namespace

DWORD WINAPI WaitForEnter(LPVOID)
{
    HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE)
        return 0;
    DWORD mode = 0;
    if (::GetConsoleMode(input, &mode))
        WaitForConsoleEnter(input);
    else
        WaitForLineEnd(input);
    return 0;
}
