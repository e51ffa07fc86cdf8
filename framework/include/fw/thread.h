// CWinThread: a worker thread running a function. AfxBeginThread starts one.
// With m_bAutoDelete set (the default) the object deletes itself, and closes
// its handle, when the thread ends; an owner that wants to wait for the thread
// clears it (start the thread suspended, clear the flag, then resume) and
// deletes the object after the wait.
#pragma once
#include "fw/fwdefs.h"

typedef UINT (*AFX_THREADPROC)(LPVOID);

class FW_API CWinThread
{
public:
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    virtual ~CWinThread();

    HANDLE m_hThread;
    DWORD m_nThreadID;
    BOOL m_bAutoDelete;

    operator HANDLE() const { return m_hThread; }
    // Starts the thread (suspended when dwCreateFlags holds CREATE_SUSPENDED).
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0);
    DWORD ResumeThread()
    {
        ASSERT(m_hThread != nullptr);
        return ::ResumeThread(m_hThread);
    }
    DWORD SuspendThread()
    {
        ASSERT(m_hThread != nullptr);
        return ::SuspendThread(m_hThread);
    }
    int GetThreadPriority() const { return ::GetThreadPriority(m_hThread); }
    BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }

private:
    static DWORD WINAPI ThreadEntry(LPVOID pThis);
    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;

    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;
};

// Starts pfnThreadProc(pParam) on a new thread; null when it cannot start.
FW_API CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                                  UINT nStackSize = 0, DWORD dwCreateFlags = 0);
