// Owners of kernel handles, find handles and registry keys.
//
// Every owner closes the handle it holds (given to its constructor, taken
// through Attach or filled in through Receive) in its destructor; Detach hands
// the handle back without closing it. Owners are not copied. An owner converts
// to its raw handle, so it goes straight into the Win32 calls that use it.
#pragma once

#include "fw/fwdefs.h"

template <class Traits>
class CHandleOwner
{
public:
    typedef typename Traits::Handle Handle;

    CHandleOwner() : m_handle(Traits::Empty()) {}
    explicit CHandleOwner(Handle handle) : m_handle(handle) {}
    ~CHandleOwner() { Close(); }
    CHandleOwner(const CHandleOwner&) = delete;
    CHandleOwner& operator=(const CHandleOwner&) = delete;

    operator Handle() const { return m_handle; }
    Handle Get() const { return m_handle; }
    bool IsValid() const { return Traits::IsValid(m_handle); }

    BOOL Attach(Handle handle)
    {
        ASSERT(!IsValid());
        if (!Traits::IsValid(handle))
            return FALSE;
        m_handle = handle;
        return TRUE;
    }
    Handle Detach()
    {
        Handle handle = m_handle;
        m_handle = Traits::Empty();
        return handle;
    }
    // The address for an API that returns the handle through an out
    // parameter (RegOpenKeyEx, OpenProcessToken); the owner must be empty.
    Handle* Receive()
    {
        ASSERT(!IsValid());
        m_handle = Traits::Empty();
        return &m_handle;
    }
    void Close()
    {
        if (IsValid())
            Traits::Close(m_handle);
        m_handle = Traits::Empty();
    }

private:
    Handle m_handle;
};

// Kernel objects (files, events, processes, threads, tokens). Both null and
// INVALID_HANDLE_VALUE mean "no handle", as the creating calls differ.
struct CKernelHandleTraits
{
    typedef HANDLE Handle;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};

// FindFirstFile searches.
struct CFindHandleTraits
{
    typedef HANDLE Handle;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::FindClose(h); }
};

// Opened or created registry keys.
struct CRegKeyHandleTraits
{
    typedef HKEY Handle;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ::RegCloseKey(h); }
};

typedef CHandleOwner<CKernelHandleTraits> CHandle;
typedef CHandleOwner<CFindHandleTraits> CFindHandle;
typedef CHandleOwner<CRegKeyHandleTraits> CRegKeyHandle;
