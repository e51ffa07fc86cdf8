// Icon sets of the themed menus: every image with a dimmed and a disabled
// variant. A program sets up many menu images before its window shows, and
// most of them are never painted dimmed or disabled: the variants are made
// for a whole set the first time one of them is painted.
#include "drawkit.h"
#include "themedmenu.h"
#include "fw/controlbars.h"
#include <algorithm>

namespace {
const UINT kImageListFlags = ILC_COLORDDB | ILC_MASK;

// An icon this code made or loaded; destroyed with the holder.
class CIconHolder
{
public:
    explicit CIconHolder(HICON h) : m_hIcon(h)
    {
        if (h)
            FwCountGdiObject(1);
    }
    ~CIconHolder()
    {
        if (m_hIcon) {
            ::DestroyIcon(m_hIcon);
            FwCountGdiObject(-1);
        }
    }
    HICON m_hIcon;
    CIconHolder(const CIconHolder&) = delete;
    CIconHolder& operator=(const CIconHolder&) = delete;
};

// The two bitmaps GetIconInfo hands out, freed with the holder.
struct CIconBitmaps
{
    CBitmap color, mask;
    BOOL Read(HICON hIcon)
    {
        ICONINFO ii = {};
        if (!hIcon || !::GetIconInfo(hIcon, &ii))
            return FALSE;
        if (ii.hbmColor)
            color.Attach(ii.hbmColor);
        if (ii.hbmMask)
            mask.Attach(ii.hbmMask);
        return color.m_hObject != nullptr;
    }
};

// Every pixel darkened by dimming (0 to 255).
BOOL DimBitmap(HBITMAP hBitmap, int dimming)
{
    std::vector<DWORD> px;
    int cx, cy;
    if (!ReadBitmapPixels(hBitmap, px, cx, cy))
        return FALSE;
    for (DWORD& p : px) {
        DWORD r = (DWORD)::MulDiv((p >> 16) & 0xFF, 255 - dimming, 255);
        DWORD g = (DWORD)::MulDiv((p >> 8) & 0xFF, 255 - dimming, 255);
        DWORD b = (DWORD)::MulDiv(p & 0xFF, 255 - dimming, 255);
        p = (p & 0xFF000000) | (r << 16) | (g << 8) | b;
    }
    return WriteBitmapPixels(hBitmap, px, cx, cy);
}

// A copy of a bitmap that the image list may change while masking it.
HBITMAP CopyBitmap(HBITMAP h) { return (HBITMAP)::CopyImage(h, IMAGE_BITMAP, 0, 0, 0); }
} // namespace

// ---------------------------------------------------------------- the list

std::vector<CThemedMenuIcons*>& CThemedMenuIcons::List()
{
    // Never destroyed: the hook object empties it at exit, after function
    // statics made later than it are gone.
    static std::vector<CThemedMenuIcons*>* pList = new std::vector<CThemedMenuIcons*>;
    return *pList;
}

void CThemedMenuIcons::DeleteList()
{
    std::vector<CThemedMenuIcons*>& list = List();
    while (!list.empty()) {
        CThemedMenuIcons* p = list.back();
        list.pop_back();
        delete p;
    }
}

void CThemedMenuIcons::Release(CThemedMenuIcons* pIcons)
{
    if (!pIcons || --pIcons->m_nRefCount > 0)
        return;
    std::vector<CThemedMenuIcons*>& list = List();
    list.erase(std::remove(list.begin(), list.end(), pIcons), list.end());
    delete pIcons;
}

// ---------------------------------------------------------------- a set

CThemedMenuIcons::CThemedMenuIcons()
    : m_pszName(nullptr), m_hModule(nullptr), m_nSourceHandle(0), m_nColorCount(0), m_crTransparent((COLORREF)-1),
      m_nRefCount(0)
{
}

CThemedMenuIcons::~CThemedMenuIcons() { SetName(nullptr); }

void CThemedMenuIcons::SetName(const char* pszName)
{
    if (m_pszName && !IS_INTRESOURCE(m_pszName))
        delete[] m_pszName;
    m_pszName = nullptr;
    if (!pszName)
        return;
    if (IS_INTRESOURCE(pszName)) {
        m_pszName = (char*)pszName;
    } else {
        m_pszName = new char[lstrlenA(pszName) + 1];
        lstrcpyA(m_pszName, pszName);
    }
}

CSize CThemedMenuIcons::GetIconSize() const
{
    int cx = 0, cy = 0;
    if (m_images.m_hImageList)
        m_images.GetIconSize(&cx, &cy);
    return CSize(cx, cy);
}

int CThemedMenuIcons::FindIndex(UINT nID) const
{
    for (int i = (int)m_ids.size() - 1; i >= 0; --i)
        if (m_ids[i] == nID)
            return i;
    return -1;
}

void CThemedMenuIcons::OnSysColorChange()
{
    if (!m_pszName)
        return;
    CSize size = GetIconSize();
    if (size.cx <= 0)
        return;
    // The bitmap's colours follow the system colours.
    if (LoadBitmapResource(size.cx, size.cy, m_pszName, m_hModule))
        DropVariants();
}

BOOL CThemedMenuIcons::LoadBitmap(HBITMAP hBitmap, int cx, int cy, const UINT* pIDs, COLORREF transparent)
{
    BITMAP bm = {};
    if (!hBitmap || !::GetObjectA(hBitmap, sizeof(bm), &bm))
        return FALSE;
    m_crTransparent = transparent;
    m_images.DeleteImageList();
    m_images.Create(cx, cy, kImageListFlags, 0, 10);
    CBitmap copy;
    copy.Attach(CopyBitmap(hBitmap));
    m_images.Add(copy, transparent);
    m_nSourceHandle = (UINT_PTR)hBitmap;
    size_t before = m_ids.size();
    for (const UINT* p = pIDs; p && *p; ++p)
        m_ids.push_back(*p);
    DropVariants();
    return m_ids.size() > before;
}

BOOL CThemedMenuIcons::LoadToolBar(const ToolBarRecord& record, COLORREF transparent)
{
    m_crTransparent = transparent;
    if (!LoadBitmapResource(record.cx, record.cy, MAKEINTRESOURCEA(record.nResourceID), nullptr))
        return FALSE;
    SetName(MAKEINTRESOURCEA(record.nResourceID));
    size_t before = m_ids.size();
    for (const UINT* p = record.pIDs; p && *p; ++p)
        m_ids.push_back(*p);
    DropVariants();
    return m_ids.size() > before;
}

BOOL CThemedMenuIcons::LoadToolBar(const char* pszResource, HINSTANCE hModule)
{
    SetName(pszResource);
    m_hModule = hModule;
    HINSTANCE hInst = hModule ? hModule : AfxGetResourceHandle();
    SIZE image;
    std::vector<UINT> ids;
    if (!FwReadToolBarResource(hInst, pszResource, image, ids)) {
        hInst = ::GetModuleHandleA(nullptr);
        if (!FwReadToolBarResource(hInst, pszResource, image, ids))
            return FALSE;
    }
    if (!LoadBitmapResource(image.cx, image.cy, pszResource, hInst))
        return FALSE;
    // Separators have no image.
    m_ids.clear();
    for (UINT id : ids)
        if (id)
            m_ids.push_back(id);
    DropVariants();
    return !m_ids.empty();
}

BOOL CThemedMenuIcons::IsSameBitmap(HBITMAP hBitmap, int cx, int cy, const UINT* pIDs) const
{
    CSize size = GetIconSize();
    if ((UINT_PTR)hBitmap != m_nSourceHandle || size.cx != cx || size.cy != cy)
        return FALSE;
    size_t i = 0;
    for (const UINT* p = pIDs; p && *p; ++p, ++i)
        if (i >= m_ids.size() || m_ids[i] != *p)
            return FALSE;
    return TRUE;
}

BOOL CThemedMenuIcons::IsSameToolBar(const ToolBarRecord& record, COLORREF transparent) const
{
    if (transparent != m_crTransparent || m_pszName != MAKEINTRESOURCEA(record.nResourceID))
        return FALSE;
    size_t i = 0;
    for (const UINT* p = record.pIDs; p && *p; ++p, ++i)
        if (i >= m_ids.size() || m_ids[i] != *p)
            return FALSE;
    return TRUE;
}

BOOL CThemedMenuIcons::IsSameResource(const char* pszResource, HINSTANCE hModule) const
{
    if (hModule != m_hModule)
        return FALSE;
    if (IS_INTRESOURCE(pszResource) || IS_INTRESOURCE(m_pszName))
        return pszResource == m_pszName;
    return lstrcmpA(pszResource, m_pszName) == 0;
}

BOOL CThemedMenuIcons::LoadBitmapResource(int cx, int cy, const char* pszResource, HINSTANCE hModule)
{
    CBitmap bmp;
    int nColors = 0;
    HINSTANCE hInst = hModule ? hModule : AfxGetResourceHandle();
    HBITMAP h = LoadBitmapWithColors(pszResource, hInst, &nColors);
    if (!h && !hModule)
        h = LoadBitmapWithColors(pszResource, hInst = ::GetModuleHandleA(nullptr), &nColors);
    if (!bmp.Attach(h))
        return FALSE;
    m_nColorCount = nColors;
    m_images.DeleteImageList();
    m_images.Create(cx, cy, kImageListFlags, 0, 10);
    m_images.Add(bmp, m_crTransparent);
    return TRUE;
}

CImageList& CThemedMenuIcons::Images(Look look)
{
    LoadPendingIcons();
    if (look == LOOK_NORMAL)
        return m_images;
    CImageList& list = m_variants[look == LOOK_DIMMED ? 0 : 1];
    if (list.m_hImageList || !m_images.m_hImageList)
        return list;
    CSize size = GetIconSize();
    if (!list.Create(size.cx, size.cy, kImageListFlags, 0, 10))
        return list;
    COLORREF base = 0;
    if (look == LOOK_DISABLED) {
        int id = CThemedMenu::GetThemeId();
        if (id == 2 || id == 3) {
            base = LightenColor(GetMenuColor(), 115);
        } else if (id >= 8 && id <= 11) {
            COLORREF a, b;
            Get2003Colors(a, b, TRUE);
            base = LightenColor(a, 115);
        } else {
            base = LightenColor(GetMenuBarColorThemed(nullptr), 115);
        }
    }
    const int n = m_images.GetImageCount();
    for (int i = 0; i < n; ++i) {
        CIconHolder icon(m_images.ExtractIcon(i));
        CIconBitmaps bits;
        BOOL made = bits.Read(icon.m_hIcon);
        if (made && look == LOOK_DIMMED)
            made = DimBitmap(bits.color, CThemedMenu::Options().nIconDimming);
        else if (made)
            TintBitmap(bits.color, 110, base);
        // A look that cannot be made shows the normal image: every image
        // keeps its index.
        if (!made || list.Add(bits.color, bits.mask) < 0)
            list.Add(icon.m_hIcon);
    }
    return list;
}

void CThemedMenuIcons::LoadPendingIcons()
{
    if (m_pending.empty())
        return;
    std::vector<PendingIcon> pending;
    pending.swap(m_pending);
    CSize size = GetIconSize();
    for (const PendingIcon& p : pending) {
        CIconHolder icon(
            (HICON)::LoadImageA(p.hModule, MAKEINTRESOURCEA(p.nIconId), IMAGE_ICON, size.cx, size.cy, 0));
        // An icon that cannot be read leaves its index empty: the later
        // images keep theirs.
        if (!icon.m_hIcon || m_images.Add(icon.m_hIcon) < 0) {
            CBitmap color, mask;
            color.CreateBitmap(size.cx, size.cy, 1, 32, nullptr);
            std::vector<BYTE> ones((size_t)((size.cx + 15) / 16 * 2 * size.cy), 0xFF);
            mask.CreateBitmap(size.cx, size.cy, 1, 1, ones.data());
            m_images.Add(color, mask);
        }
    }
    DropVariants();
}

void CThemedMenuIcons::DropVariants()
{
    for (CImageList& list : m_variants)
        list.DeleteImageList();
}

// ---------------------------------------------------------------- image lists

CThemedMenuBitmaps::CThemedMenuBitmaps() {}
CThemedMenuBitmaps::~CThemedMenuBitmaps() {}

void CThemedMenuBitmaps::OnSysColorChange() { DropVariants(); }

int CThemedMenuBitmaps::AddIcon(HICON hIcon, UINT nID)
{
    CIconBitmaps bits;
    if (!bits.Read(hIcon))
        return -1;
    BITMAP bm = {};
    bits.color.GetBitmap(&bm);
    if (m_images.m_hImageList) {
        CSize size = GetIconSize();
        if (size.cx != bm.bmWidth || size.cy != bm.bmHeight)
            return -1;
    } else if (!m_images.Create(bm.bmWidth, bm.bmHeight, kImageListFlags, 0, 10)) {
        return -1;
    }
    // The pending icons keep the indexes before this one.
    LoadPendingIcons();
    DropVariants();
    int i = FindIndex(nID);
    if (i >= 0)
        return m_images.Replace(i, hIcon) >= 0 ? i : -1;
    const int index = m_images.Add(hIcon);
    if (index < 0)
        return -1;
    m_sources.push_back((DWORD)-1);
    m_ids.push_back(nID);
    return index;
}

int CThemedMenuBitmaps::AddIconResource(HINSTANCE hModule, UINT nIconId, CSize size, UINT nID)
{
    if (m_images.m_hImageList) {
        if (GetIconSize() != size)
            return -1;
    } else if (!m_images.Create(size.cx, size.cy, kImageListFlags, 0, 10)) {
        return -1;
    }
    if (FindIndex(nID) >= 0) {
        // A command that has an image already gets the new one now.
        HICON hIcon = (HICON)::LoadImageA(hModule, MAKEINTRESOURCEA(nIconId), IMAGE_ICON, size.cx, size.cy, 0);
        int index = hIcon ? AddIcon(hIcon, nID) : -1;
        if (hIcon)
            ::DestroyIcon(hIcon);
        return index;
    }
    m_pending.push_back({hModule, nIconId});
    m_sources.push_back((DWORD)-1);
    m_ids.push_back(nID);
    return (int)m_ids.size() - 1;
}
