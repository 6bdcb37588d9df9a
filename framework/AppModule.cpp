#include "AppModule.h"

#include <new>

CAppModule g_module;

namespace {

class CriticalSectionLock
{
public:
    explicit CriticalSectionLock(CRITICAL_SECTION& cs) : m_cs(cs) { ::EnterCriticalSection(&m_cs); }
    ~CriticalSectionLock() { ::LeaveCriticalSection(&m_cs); }
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
    CRITICAL_SECTION& m_cs;
};

} // namespace

CAppModule::CAppModule()
    : m_hInstance(nullptr), m_mainThreadId(0), m_loops(nullptr)
{
    ::InitializeCriticalSection(&m_loopLock);
    ::InitializeCriticalSection(&m_createLock);
}

CAppModule::~CAppModule()
{
    Term();
    ::DeleteCriticalSection(&m_createLock);
    ::DeleteCriticalSection(&m_loopLock);
}

HRESULT CAppModule::Init(HINSTANCE hInstance)
{
    CriticalSectionLock lock(m_loopLock);
    m_hInstance = hInstance;
    m_mainThreadId = ::GetCurrentThreadId();
    if (m_loops == nullptr)
        m_loops = new (std::nothrow) std::map<DWORD, CMessageLoop*>;
    return m_loops != nullptr ? S_OK : E_OUTOFMEMORY;
}

void CAppModule::Term()
{
    CriticalSectionLock lock(m_loopLock);
    delete m_loops;
    m_loops = nullptr;
}

BOOL CAppModule::AddMessageLoop(CMessageLoop* loop)
{
    CriticalSectionLock lock(m_loopLock);
    if (m_loops == nullptr || loop == nullptr)
        return FALSE;
    return m_loops->emplace(::GetCurrentThreadId(), loop).second ? TRUE : FALSE;
}

BOOL CAppModule::RemoveMessageLoop()
{
    CriticalSectionLock lock(m_loopLock);
    if (m_loops == nullptr)
        return FALSE;
    return m_loops->erase(::GetCurrentThreadId()) != 0 ? TRUE : FALSE;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const
{
    CriticalSectionLock lock(m_loopLock);
    if (m_loops == nullptr)
        return nullptr;
    auto it = m_loops->find(threadId);
    return it != m_loops->end() ? it->second : nullptr;
}

void CAppModule::AddCreateWndData(void* object)
{
    CriticalSectionLock lock(m_createLock);
    m_createData[::GetCurrentThreadId()] = object;
}

void* CAppModule::ExtractCreateWndData()
{
    CriticalSectionLock lock(m_createLock);
    auto it = m_createData.find(::GetCurrentThreadId());
    if (it == m_createData.end())
        return nullptr;
    void* object = it->second;
    m_createData.erase(it);
    return object;
}
