#pragma once

#include <windows.h>

// The stack a worker reserves (none of it committed until used): a thread
// that calls into the system's libraries gets as much as the main thread
// has; one that only loops, little, so that many fit even in the 32-bit
// edition's address space.
const SIZE_T kWorkerStackBytes = 1024 * 1024;
const SIZE_T kLoopWorkerStackBytes = 64 * 1024;

// Starts a thread of the run's own. The run starts its threads before it
// commits anything: a commit to the limit leaves no room for the stack of a
// thread started later. Null when the system refuses.
HANDLE StartWorker(LPTHREAD_START_ROUTINE procedure, LPVOID parameter, SIZE_T stackBytes = kWorkerStackBytes);

// Waits for a worker that has been told to stop, then lets its handle go;
// the handle is null afterwards, so that a second call does nothing.
void JoinWorker(HANDLE& thread);
