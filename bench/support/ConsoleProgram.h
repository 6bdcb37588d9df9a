#pragma once

#include <windows.h>

#include <string>

// A console program that a benchmark starts with arguments, as a script
// would, its output and errors going to a file of its own in the temporary
// folder (read back at any time), its input from NUL. A file rather than a
// pipe, so that the program never waits for the bench to read.
class CConsoleProgram
{
public:
    CConsoleProgram(std::wstring path, std::wstring arguments);
    // Terminates the program if it still runs and removes the output file.
    ~CConsoleProgram();
    CConsoleProgram(const CConsoleProgram&) = delete;
    CConsoleProgram& operator=(const CConsoleProgram&) = delete;

    bool Start();
    // Waits until the output has a line beginning with start; false when the
    // program ended or timeoutMs passed first.
    bool WaitForLine(const char* start, DWORD timeoutMs) const;
    // Waits for the end of the process; its exit code, or STILL_ACTIVE when
    // it did not end in time.
    DWORD Wait(DWORD timeoutMs) const;
    // Everything written so far, as the program wrote it (UTF-8 here).
    std::string Output() const;

    const std::wstring& Path() const { return m_path; }
    const std::wstring& Arguments() const { return m_arguments; }
    const PROCESS_INFORMATION& Info() const { return m_info; }

private:
    std::wstring m_path;
    std::wstring m_arguments;
    std::wstring m_outputPath;
    PROCESS_INFORMATION m_info = {};
};

// A new file name in the temporary folder, ending in suffix; nothing is
// created.
std::wstring TemporaryPath(const wchar_t* suffix);
