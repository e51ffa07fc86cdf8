// Maps from Win32 handles to the framework objects wrapping them. Permanent
// entries belong to objects that attached a handle; temporary entries are
// objects made by FromHandle for unknown handles, deleted at idle time.
#pragma once
#include "fw/fwdefs.h"
#include <unordered_map>
#include <vector>

class FwLock
{
public:
    FwLock();
    ~FwLock();
    static CRITICAL_SECTION& Section();
};

template <class H, class T>
class FwHandleMap
{
public:
    T* LookupPermanent(H h)
    {
        FwLock lock;
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }
    void SetPermanent(H h, T* p)
    {
        FwLock lock;
        m_permanent[h] = p;
    }
    void RemovePermanent(H h, T* p)
    {
        FwLock lock;
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == p)
            m_permanent.erase(it);
    }
    // Returns the permanent object, or a temporary one made by `make`.
    template <class Make>
    T* FromHandle(H h, Make make)
    {
        if (!h)
            return nullptr;
        FwLock lock;
        auto it = m_permanent.find(h);
        if (it != m_permanent.end())
            return it->second;
        auto jt = m_temporary.find(h);
        if (jt != m_temporary.end())
            return jt->second.first;
        T* p = make(h);
        m_temporary[h] = std::make_pair(p, ::GetCurrentThreadId());
        return p;
    }
    // Takes the calling thread's temporary objects out of the map.
    std::vector<T*> TakeTemporaries()
    {
        std::vector<T*> out;
        FwLock lock;
        DWORD tid = ::GetCurrentThreadId();
        for (auto it = m_temporary.begin(); it != m_temporary.end();) {
            if (it->second.second == tid) {
                out.push_back(it->second.first);
                it = m_temporary.erase(it);
            } else
                ++it;
        }
        return out;
    }
    // The first permanent object for which pred(handle) holds.
    template <class Pred>
    T* FindPermanent(Pred pred)
    {
        FwLock lock;
        for (auto& entry : m_permanent)
            if (pred(entry.first))
                return entry.second;
        return nullptr;
    }
    void ForgetTemporary(H h)
    {
        FwLock lock;
        m_temporary.erase(h);
    }

private:
    std::unordered_map<H, T*> m_permanent;
    std::unordered_map<H, std::pair<T*, DWORD>> m_temporary;
};

// The menu object that holds command nID as a direct item, if any.
class CMenu;
CMenu* FwFindPermanentMenuWithItem(UINT nID);

// The framework DLL's own module handle.
HINSTANCE FwFrameworkInstance();
