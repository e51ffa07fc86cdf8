// CListCtrl, CProgressCtrl and CImageList.
#include "fw/commctrls.h"
#include "handlemap.h"

namespace {
void EnsureCommonControls()
{
    static bool done = false;
    if (!done) {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES |
                                                     ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&icc);
        done = true;
    }
}

LVITEMA MakeListItem(UINT nMask, int nItem, int nSubItem, const char* pszItem, int nImage, UINT nState, UINT nStateMask,
                     LPARAM lParam)
{
    LVITEMA item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.pszText = (LPSTR)pszItem;
    item.iImage = nImage;
    item.state = nState;
    item.stateMask = nStateMask;
    item.lParam = lParam;
    return item;
}

FwHandleMap<HIMAGELIST, CImageList, &CImageList::m_hImageList>& ImageListMap()
{
    static FwHandleMap<HIMAGELIST, CImageList, &CImageList::m_hImageList> m;
    return m;
}
} // namespace

// ----------------------------------------------------------------- CListCtrl

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateEx(0, dwStyle, rect, pParentWnd, nID);
}

BOOL CListCtrl::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    EnsureCommonControls();
    return CWnd::CreateEx(dwExStyle, WC_LISTVIEWA, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

int CListCtrl::InsertColumn(int nCol, const char* pszHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_FMT;
    col.pszText = (LPSTR)(pszHeading ? pszHeading : "");
    col.fmt = nFormat;
    if (nWidth != -1) {
        col.mask |= LVCF_WIDTH;
        col.cx = nWidth;
    }
    if (nSubItem != -1) {
        col.mask |= LVCF_SUBITEM;
        col.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &col);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, const char* pszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam)
{
    LVITEMA item = MakeListItem(nMask, nItem, 0, pszItem, nImage, nState, nStateMask, lParam);
    return InsertItem(&item);
}

int CListCtrl::InsertItem(int nItem, const char* pszItem) { return InsertItem(LVIF_TEXT, nItem, pszItem, 0, 0, 0, 0); }

int CListCtrl::InsertItem(int nItem, const char* pszItem, int nImage)
{
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, pszItem, 0, 0, nImage, 0);
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, const char* pszItem, int nImage, UINT nState,
                        UINT nStateMask, LPARAM lParam)
{
    LVITEMA item = MakeListItem(nMask, nItem, nSubItem, pszItem, nImage, nState, nStateMask, lParam);
    return SetItem(&item);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, const char* pszText)
{
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    item.pszText = (LPSTR)(pszText ? pszText : "");
    return (BOOL)SendMessage(LVM_SETITEMTEXTA, (WPARAM)nItem, (LPARAM)&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // The control copies at most the buffer size; grow until the text fits.
    CString s;
    for (int size = 256; size <= 65536; size *= 2) {
        LVITEMA item = {};
        item.iSubItem = nSubItem;
        item.cchTextMax = size;
        item.pszText = s.GetBuffer(size);
        int n = (int)::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, (WPARAM)nItem, (LPARAM)&item);
        s.ReleaseBuffer(n > 0 ? n : 0);
        if (n < size - 1)
            break;
    }
    return s;
}

int CListCtrl::GetItemText(int nItem, int nSubItem, char* pszText, int nLen) const
{
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    item.cchTextMax = nLen;
    item.pszText = pszText;
    return (int)::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, (WPARAM)nItem, (LPARAM)&item);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMA item = {};
    item.state = nState;
    item.stateMask = nMask;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)nItem, (LPARAM)&item);
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    return SetItem(nItem, 0, LVIF_PARAM, nullptr, 0, 0, 0, (LPARAM)dwData);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    GetItem(&item);
    return (DWORD_PTR)item.lParam;
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT pRect, UINT nCode) const
{
    pRect->left = (LONG)nCode;
    return (BOOL)::SendMessageA(m_hWnd, LVM_GETITEMRECT, (WPARAM)nItem, (LPARAM)pRect);
}

int CListCtrl::HitTest(POINT pt, UINT* pFlags) const
{
    LVHITTESTINFO info = {};
    info.pt = pt;
    int n = HitTest(&info);
    if (pFlags)
        *pFlags = info.flags;
    return n;
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageList)
{
    HIMAGELIST old = (HIMAGELIST)SendMessage(LVM_SETIMAGELIST, (WPARAM)nImageList, (LPARAM)SafeHandle(pImageList));
    return CImageList::FromHandle(old);
}

CImageList* CListCtrl::GetImageList(int nImageList) const
{
    return CImageList::FromHandle((HIMAGELIST)::SendMessageA(m_hWnd, LVM_GETIMAGELIST, (WPARAM)nImageList, 0));
}

// ------------------------------------------------------------- CProgressCtrl

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    EnsureCommonControls();
    return CWnd::CreateEx(0, PROGRESS_CLASSA, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const
{
    PBRANGE range = {};
    ::SendMessageA(m_hWnd, PBM_GETRANGE, FALSE, (LPARAM)&range);
    nLower = range.iLow;
    nUpper = range.iHigh;
}

// ---------------------------------------------------------------- CImageList

CImageList::CImageList() : m_hImageList(nullptr) {}

CImageList::~CImageList()
{
    if (ImageListMap().LookupPermanent(m_hImageList) == this)
        DeleteImageList();
}

CImageList* CImageList::FromHandle(HIMAGELIST h) { return ImageListMap().FromHandle(h); }

CImageList* CImageList::FromHandlePermanent(HIMAGELIST h) { return ImageListMap().LookupPermanent(h); }

void CImageList::DeleteTempMap() { ImageListMap().DeleteTemporaries(); }

BOOL CImageList::Attach(HIMAGELIST h)
{
    if (!ImageListMap().Attach(this, h))
        return FALSE;
    FwCountGdiObject(1);
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST h = ImageListMap().Detach(this);
    if (h)
        FwCountGdiObject(-1);
    return h;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    EnsureCommonControls();
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(const char* pszBitmapID, int cx, int nGrow, COLORREF crMask)
{
    EnsureCommonControls();
    extern HINSTANCE FwGetResourceHandleInternal();
    HIMAGELIST h = ImageList_LoadImageA(FwGetResourceHandleInternal(), pszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP,
                                        LR_CREATEDIBSECTION);
    if (!h)
        h = ImageList_LoadImageA(::GetModuleHandleA(nullptr), pszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP,
                                 LR_CREATEDIBSECTION);
    return Attach(h);
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    return Create(MAKEINTRESOURCEA(nBitmapID), cx, nGrow, crMask);
}
