#pragma once

#include <windows.h>

#include <string>

// A program that a benchmark starts, finds by its main window's class, and
// closes as a user would.
class CProgram
{
public:
    CProgram(std::wstring path, const wchar_t* windowClass);
    ~CProgram();
    CProgram(const CProgram&) = delete;
    CProgram& operator=(const CProgram&) = delete;

    // Starts the program and waits until its main window is visible; the time
    // from the start to that moment, or a negative value on failure.
    double Start();
    // Posts WM_CLOSE to the main window and waits for the process to end; the
    // time that took, or a negative value when it did not end in 10 s (it is
    // then terminated).
    double Close();

    const std::wstring& Path() const { return m_path; }
    const PROCESS_INFORMATION& Info() const { return m_info; }
    HWND Window() const { return m_window; }

private:
    void Release();

    std::wstring m_path;
    const wchar_t* m_windowClass;
    PROCESS_INFORMATION m_info = {};
    HWND m_window = nullptr;
};

// A program built beside the running benchmark, by its file name.
std::wstring BesideThisProgram(const wchar_t* fileName);
