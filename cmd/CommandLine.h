#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What the console companion is asked to do, as its command line says it.
struct CommandRequest
{
    enum class Memory
    {
        None,
        Amount,
        Limit,
    };
    enum class Disk
    {
        None,
        Size,
        Limit,
        Leave,
    };
    enum class Cpu
    {
        None,
        Threads,
        // A thread for each logical processor the process may run on.
        Max,
    };

    bool usage = false;
    Memory memory = Memory::None;
    ULONGLONG memoryMb = 0;
    // Every page committed is written once, so that it takes RAM.
    bool touch = false;
    Disk disk = Disk::None;
    // The file's size, or the free space to leave.
    ULONGLONG diskMb = 0;
    std::wstring folder;
    Cpu cpu = Cpu::None;
    DWORD cpuThreads = 0;
    // The share of every 100 ms that each thread is busy, in percent.
    DWORD cpuLoad = 100;
    // The CSV file of the figures over time; empty for none.
    std::wstring log;
    bool timed = false;
    DWORD holdSeconds = 0;
};

// The longest hold: the most whole seconds that one timed wait can take.
const DWORD kLongestHoldSeconds = 4294967;

// The most busy threads asked for by number: four for each of 256 logical
// processors, which few machines have, and little address space for their
// stacks even in the 32-bit edition.
const DWORD kMostCpuThreads = 1024;

// Reads the arguments, the program's name not among them, checking their
// form and bounds only (whether the folder is there is the run's to find
// out); the memory bound is the edition's. On a bad command line: false,
// with one line in error that names the switch.
bool ParseCommandLine(const std::vector<std::wstring>& arguments, ULONGLONG largestMemoryMb,
                      CommandRequest& request, std::wstring& error);

// The text of /?, with the edition's memory bound.
std::wstring UsageText(ULONGLONG largestMemoryMb);
