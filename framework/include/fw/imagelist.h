// CImageList: an image list handle; one the object created or attached is
// destroyed by it.
#pragma once
#include "fw/fwdefs.h"

class FW_API CImageList
{
public:
    CImageList();
    virtual ~CImageList();

    HIMAGELIST m_hImageList;
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return GetSafeHandle(); }

    static CImageList* FromHandle(HIMAGELIST h); // temporary wrapper for unknown handles
    static CImageList* FromHandlePermanent(HIMAGELIST h);
    static void DeleteTempMap();

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // From a bitmap resource: images cx wide, crMask the transparent colour.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(const char* pszBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Attach(HIMAGELIST h);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    int Add(HICON hIcon) { return ImageList_AddIcon(m_hImageList, hIcon); }
    int Add(HBITMAP hbmImage, HBITMAP hbmMask) { return ImageList_Add(m_hImageList, hbmImage, hbmMask); }
    int Add(HBITMAP hbmImage, COLORREF crMask) { return ImageList_AddMasked(m_hImageList, hbmImage, crMask); }
    BOOL Replace(int nImage, HBITMAP hbmImage, HBITMAP hbmMask)
    {
        return ImageList_Replace(m_hImageList, nImage, hbmImage, hbmMask);
    }
    int Replace(int nImage, HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
    BOOL Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }
    BOOL SetImageCount(UINT nNewCount) { return ImageList_SetImageCount(m_hImageList, nNewCount); }
    HICON ExtractIcon(int nImage) { return ImageList_ExtractIcon(nullptr, m_hImageList, nImage); }
    COLORREF SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
    COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
    BOOL GetImageInfo(int nImage, IMAGEINFO* pInfo) const
    {
        return ImageList_GetImageInfo(m_hImageList, nImage, pInfo);
    }
    BOOL GetIconSize(int* cx, int* cy) const { return ImageList_GetIconSize(m_hImageList, cx, cy); }
    BOOL Draw(HDC hdc, int nImage, POINT pt, UINT nStyle)
    {
        return ImageList_Draw(m_hImageList, nImage, hdc, pt.x, pt.y, nStyle);
    }

private:
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
};

// The image list of a pointer that may be null: null when there is no object.
inline HIMAGELIST SafeHandle(const CImageList* pImageList)
{
    return pImageList != nullptr ? pImageList->m_hImageList : nullptr;
}
