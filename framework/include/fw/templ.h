// CList: a doubly linked list of values in the shape of the framework's other
// collections. POSITION is a node of the list; null ends a walk. The list owns
// its nodes (not what pointer values point at) and frees them in RemoveAll and
// in its destructor.
#pragma once
#include "fw/fwdefs.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList
{
public:
    CList() : m_pNodeHead(nullptr), m_pNodeTail(nullptr), m_nCount(0) {}
    ~CList() { RemoveAll(); }

    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    INT_PTR GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    POSITION AddTail(ARG_TYPE newElement)
    {
        CNode* pNode = new CNode{nullptr, m_pNodeTail, newElement};
        if (m_pNodeTail)
            m_pNodeTail->pNext = pNode;
        else
            m_pNodeHead = pNode;
        m_pNodeTail = pNode;
        ++m_nCount;
        return (POSITION)pNode;
    }
    void RemoveAll()
    {
        while (m_pNodeHead) {
            CNode* pNext = m_pNodeHead->pNext;
            delete m_pNodeHead;
            m_pNodeHead = pNext;
        }
        m_pNodeTail = nullptr;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
    // The element at rPosition; rPosition moves on to the next one.
    TYPE& GetNext(POSITION& rPosition)
    {
        ASSERT(rPosition != nullptr);
        CNode* pNode = (CNode*)rPosition;
        rPosition = (POSITION)pNode->pNext;
        return pNode->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        ASSERT(rPosition != nullptr);
        const CNode* pNode = (const CNode*)rPosition;
        rPosition = (POSITION)pNode->pNext;
        return pNode->data;
    }
    TYPE& GetAt(POSITION position)
    {
        ASSERT(position != nullptr);
        return ((CNode*)position)->data;
    }
    const TYPE& GetAt(POSITION position) const
    {
        ASSERT(position != nullptr);
        return ((const CNode*)position)->data;
    }
    // Null when nIndex is negative or not below GetCount().
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        CNode* pNode = m_pNodeHead;
        while (nIndex-- > 0)
            pNode = pNode->pNext;
        return (POSITION)pNode;
    }

private:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };
    CNode* m_pNodeHead;
    CNode* m_pNodeTail;
    INT_PTR m_nCount;
};
