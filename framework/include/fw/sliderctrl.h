// CSliderCtrl: the track bar common control ("msctls_trackbar32").
#pragma once

#include "fw/wnd.h"

class CSliderCtrl : public CWnd
{
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::CreateEx(0, TRACKBAR_CLASSA, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
    }

    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE)
    {
        ::SendMessageA(m_hWnd, TBM_SETRANGEMIN, FALSE, nMin);
        ::SendMessageA(m_hWnd, TBM_SETRANGEMAX, bRedraw, nMax);
    }
    void GetRange(int& nMin, int& nMax) const
    {
        nMin = (int)::SendMessageA(m_hWnd, TBM_GETRANGEMIN, 0, 0);
        nMax = (int)::SendMessageA(m_hWnd, TBM_GETRANGEMAX, 0, 0);
    }
    int GetRangeMin() const { return (int)::SendMessageA(m_hWnd, TBM_GETRANGEMIN, 0, 0); }
    int GetRangeMax() const { return (int)::SendMessageA(m_hWnd, TBM_GETRANGEMAX, 0, 0); }
    // The control keeps the position within its range.
    void SetPos(int nPos) { ::SendMessageA(m_hWnd, TBM_SETPOS, TRUE, nPos); }
    int GetPos() const { return (int)::SendMessageA(m_hWnd, TBM_GETPOS, 0, 0); }
    void SetTicFreq(int nFreq) { ::SendMessageA(m_hWnd, TBM_SETTICFREQ, (WPARAM)nFreq, 0); }
    int SetLineSize(int nSize) { return (int)::SendMessageA(m_hWnd, TBM_SETLINESIZE, 0, nSize); }
    int GetLineSize() const { return (int)::SendMessageA(m_hWnd, TBM_GETLINESIZE, 0, 0); }
    int SetPageSize(int nSize) { return (int)::SendMessageA(m_hWnd, TBM_SETPAGESIZE, 0, nSize); }
    int GetPageSize() const { return (int)::SendMessageA(m_hWnd, TBM_GETPAGESIZE, 0, 0); }
    void ClearTics(BOOL bRedraw = FALSE) { ::SendMessageA(m_hWnd, TBM_CLEARTICS, bRedraw, 0); }
};
