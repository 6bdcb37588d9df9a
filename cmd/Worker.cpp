#include "Worker.h"

HANDLE StartWorker(LPTHREAD_START_ROUTINE procedure, LPVOID parameter, SIZE_T stackBytes)
{
    return ::CreateThread(nullptr, stackBytes, procedure, parameter, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
}

void JoinWorker(HANDLE& thread)
{
    if (thread == nullptr)
        return;
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    thread = nullptr;
}
