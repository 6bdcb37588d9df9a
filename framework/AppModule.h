#pragma once

#include <windows.h>

#include <map>

class CMessageLoop;

// The application module: the instance that every resource is loaded from,
// the main thread, and the table that ties each user-interface thread to its
// message loop.
class CAppModule
{
public:
    CAppModule();
    ~CAppModule();
    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;

    HRESULT Init(HINSTANCE hInstance);
    void Term();

    HINSTANCE GetModuleInstance() const { return m_hInstance; }
    HINSTANCE GetResourceInstance() const { return m_hInstance; }
    DWORD GetMainThreadId() const { return m_mainThreadId; }

    BOOL AddMessageLoop(CMessageLoop* loop);
    BOOL RemoveMessageLoop();
    CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) const;

    // Window creation hands the new window's object to the start procedure
    // through a per-thread slot, filled and emptied under the creation lock.
    void AddCreateWndData(void* object);
    void* ExtractCreateWndData();

    // Window-class registration and window creation share this lock.
    void LockWindowCreate() { ::EnterCriticalSection(&m_createLock); }
    void UnlockWindowCreate() { ::LeaveCriticalSection(&m_createLock); }

private:
    HINSTANCE m_hInstance;
    DWORD m_mainThreadId;
    std::map<DWORD, CMessageLoop*>* m_loops;
    mutable CRITICAL_SECTION m_loopLock;
    CRITICAL_SECTION m_createLock;
    std::map<DWORD, void*> m_createData;
};

// The process's one module object.
extern CAppModule g_module;
