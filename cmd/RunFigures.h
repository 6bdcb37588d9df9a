#pragma once

#include <windows.h>

// What a run has reached, told by whichever thread moves it on and read by
// the log's thread: never held for longer than a copy, so that the log
// cannot delay a step or the release.
class CRunFigures
{
public:
    enum class State
    {
        Committing,
        Touching,
        Creating,
        Holding,
        Released,
    };

    CRunFigures() { ::InitializeCriticalSection(&m_lock); }
    ~CRunFigures() { ::DeleteCriticalSection(&m_lock); }
    CRunFigures(const CRunFigures&) = delete;
    CRunFigures& operator=(const CRunFigures&) = delete;

    void SetState(State state) { Set(m_state, state); }
    // The size of the file the run holds; 0 when it holds none.
    void SetFileBytes(ULONGLONG bytes) { Set(m_fileBytes, bytes); }
    State GetState() const { return Get(m_state); }
    ULONGLONG GetFileBytes() const { return Get(m_fileBytes); }

private:
    template <class T> void Set(T& member, T value)
    {
        ::EnterCriticalSection(&m_lock);
        member = value;
        ::LeaveCriticalSection(&m_lock);
    }
    template <class T> T Get(const T& member) const
    {
        ::EnterCriticalSection(&m_lock);
        T value = member;
        ::LeaveCriticalSection(&m_lock);
        return value;
    }

    mutable CRITICAL_SECTION m_lock;
    State m_state = State::Committing;
    ULONGLONG m_fileBytes = 0;
};
