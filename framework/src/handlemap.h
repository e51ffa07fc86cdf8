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

// Member is the object's handle member (CWnd::m_hWnd and the like): the map
// sets it in the temporary objects it makes and clears it before deleting
// them, so a temporary object never closes the handle it wraps.
template <class H, class T, H T::*Member>
class FwHandleMap
{
public:
    T* LookupPermanent(H h)
    {
        if (!h)
            return nullptr;
        FwLock lock;
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }
    // Gives p the handle h and makes p its permanent object: false when h is
    // null or p holds a handle already. A temporary object made for h before
    // stays valid for its callers and goes with the others in
    // DeleteTemporaries.
    bool Attach(T* p, H h)
    {
        ASSERT(p->*Member == nullptr);
        if (!h || p->*Member)
            return false;
        p->*Member = h;
        FwLock lock;
        m_permanent[h] = p;
        return true;
    }
    // Takes the handle out of p and p out of the map; the handle stays open.
    H Detach(T* p)
    {
        H h = p->*Member;
        if (h) {
            FwLock lock;
            auto it = m_permanent.find(h);
            if (it != m_permanent.end() && it->second == p)
                m_permanent.erase(it);
        }
        p->*Member = nullptr;
        return h;
    }
    // Returns the permanent object, or a temporary one made now.
    T* FromHandle(H h)
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
        T* p = new T;
        p->*Member = h;
        m_temporary[h] = std::make_pair(p, ::GetCurrentThreadId());
        return p;
    }
    // Deletes the calling thread's temporary objects; their handles stay open.
    void DeleteTemporaries()
    {
        std::vector<T*> mine;
        {
            FwLock lock;
            DWORD tid = ::GetCurrentThreadId();
            for (auto it = m_temporary.begin(); it != m_temporary.end();) {
                if (it->second.second == tid) {
                    mine.push_back(it->second.first);
                    it = m_temporary.erase(it);
                } else
                    ++it;
            }
        }
        for (T* p : mine) {
            p->*Member = nullptr;
            delete p;
        }
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

private:
    std::unordered_map<H, T*> m_permanent;
    std::unordered_map<H, std::pair<T*, DWORD>> m_temporary;
};

// The menu object that holds command nID as a direct item, if any.
class CMenu;
CMenu* FwFindPermanentMenuWithItem(UINT nID);

// The framework DLL's own module handle.
HINSTANCE FwFrameworkInstance();
