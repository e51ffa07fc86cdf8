// The registry browser and its value list with the change watcher.
#include "RegEdit.h"
#include "Asker.h"
#include "resource.h"
#include "pirt.h"
#include <algorithm>

namespace {

const struct
{
    const char* name;
    HKEY key;
} kRoots[] = {
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},     {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},   {"HKEY_USERS", HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
};

// The key's path as the registry functions take it: no closing "\".
CString WithoutClosingBackslash(const CString& path)
{
    CString p = path;
    while (!p.IsEmpty() && p[p.GetLength() - 1] == '\\')
        p = p.Left(p.GetLength() - 1);
    return p;
}

HKEY OpenRegKey(HKEY root, const CString& path, REGSAM access)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, WithoutClosingBackslash(path), 0, access, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// The whole data of a value; FALSE when it cannot be read.
BOOL ReadValue(HKEY key, const CString& name, DWORD& type, std::vector<BYTE>& data)
{
    DWORD size = 0;
    LONG r = ::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    for (int tries = 0; tries < 4 && (r == ERROR_SUCCESS || r == ERROR_MORE_DATA); ++tries) {
        data.resize(size + 1);
        DWORD got = size + 1;
        r = ::RegQueryValueExA(key, name, nullptr, &type, data.data(), &got);
        if (r == ERROR_SUCCESS) {
            data.resize(got);
            return TRUE;
        }
        size = got > size ? got : size * 2 + 16;
    }
    return FALSE;
}

const char* kSecurityKey = "HKEY_LOCAL_MACHINE\\SECURITY\\";

} // namespace

CRegValueText FormatRegValue(DWORD type, const BYTE* data, DWORD size)
{
    CRegValueText text;
    text.image = -1;
    switch (type) {
    case REG_BINARY:
        text.type = "REG_BINARY";
        text.image = 1;
        for (DWORD i = 0; i < size; ++i)
            text.data.AppendFormat("%02x ", data[i]);
        break;
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
        text.type = "REG_DWORD";
        text.image = 1;
        if (size >= 4) {
            DWORD v = type == REG_DWORD
                          ? (DWORD)data[0] | ((DWORD)data[1] << 8) | ((DWORD)data[2] << 16) | ((DWORD)data[3] << 24)
                          : (DWORD)data[3] | ((DWORD)data[2] << 8) | ((DWORD)data[1] << 16) | ((DWORD)data[0] << 24);
            text.data.Format("0x%x (%d)", (unsigned)v, (int)v);
        }
        break;
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_LINK:
    case REG_MULTI_SZ: {
        text.type = "REG_SZ";
        text.image = 0;
        // The text ends at the data's end, or at its first NUL before that.
        DWORD n = 0;
        while (n < size && data[n])
            ++n;
        text.data = CString((const char*)data, (int)n);
        break;
    }
    default: text.type = "REG_NONE"; break;
    }
    return text;
}

std::vector<CString> EnumerateSubkeys(HKEY root, const CString& path)
{
    std::vector<CString> names;
    HKEY key = OpenRegKey(root, path, KEY_ENUMERATE_SUB_KEYS);
    if (!key)
        return names;
    char name[260];
    for (DWORD i = 0;; ++i) {
        DWORD len = sizeof(name);
        if (::RegEnumKeyExA(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (len > 0)
            names.push_back(CString(name, (int)len));
    }
    ::RegCloseKey(key);
    return names;
}

// ---------------------------------------------------------------- CRegistryListCtrl

BEGIN_MESSAGE_MAP(CRegistryListCtrl, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_KEYDOWN, OnKeyDown)
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDITA, OnEndLabelEdit)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_REGKEY_CHANGED, OnKeyChanged)
    ON_MESSAGE(WM_REGKEY_REFILL, OnRefill)
END_MESSAGE_MAP()

CRegistryListCtrl::CRegistryListCtrl()
    : m_hRoot(nullptr), m_pWatcher(nullptr), m_pWatch(nullptr), m_nGeneration(0), m_nFills(0)
{
}

CRegistryListCtrl::~CRegistryListCtrl() { StopWatcher(); }

void CRegistryListCtrl::Init()
{
    InsertColumn(0, GetLngString("General", "40732"), LVCFMT_LEFT, 150);
    InsertColumn(1, GetLngString("General", "41010"), LVCFMT_LEFT, 100);
    InsertColumn(2, GetLngString("General", "40770"), LVCFMT_LEFT, 234);
    if (m_images.Create(IDB_REGVALUES, 16, 1, RGB(0, 128, 128)))
        SetImageList(&m_images, LVSIL_SMALL);
}

HKEY CRegistryListCtrl::OpenKey(REGSAM access) const
{
    return m_hRoot ? OpenRegKey(m_hRoot, m_strPath, access) : nullptr;
}

CString CRegistryListCtrl::GetValueName(int nRow) const
{
    size_t index = (size_t)GetItemData(nRow);
    return index < m_names.size() ? m_names[index] : CString();
}

void CRegistryListCtrl::SelectKey(HKEY root, const CString& path)
{
    StopWatcher();
    m_hRoot = root;
    m_strPath = root ? path : CString();
    FillValues();
}

void CRegistryListCtrl::FillValues()
{
    StopWatcher();
    ++m_nFills;
    DeleteAllItems();
    m_names.clear();
    if (!m_hRoot)
        return;
    HKEY key = OpenKey(KEY_QUERY_VALUE);
    if (!key) {
        // A key that cannot be read is forgotten.
        m_hRoot = nullptr;
        m_strPath.Empty();
        return;
    }
    DWORD maxName = 0, maxData = 0;
    ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData, nullptr,
                       nullptr);
    std::vector<char> name(maxName + 2);
    std::vector<BYTE> data(maxData + 1);
    CString defaultName = GetLngString("Holberin", "22820", "(Default)");
    struct Row
    {
        CString shown;
        size_t name;
        CRegValueText text;
    };
    std::vector<Row> rows;
    for (DWORD i = 0;;) {
        DWORD nameLen = (DWORD)name.size(), dataLen = (DWORD)data.size(), type = 0;
        LONG r = ::RegEnumValueA(key, i, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen);
        if (r == ERROR_MORE_DATA && name.size() < 32768) {
            // The value grew since the key was asked: larger buffers, same index.
            name.resize(name.size() * 2 + 256);
            data.resize(data.size() * 2 + 1024);
            continue;
        }
        if (r != ERROR_SUCCESS)
            break;
        Row row;
        m_names.push_back(CString(name.data(), (int)nameLen));
        row.name = m_names.size() - 1;
        row.shown = nameLen ? m_names.back() : defaultName;
        row.text = FormatRegValue(type, data.data(), dataLen);
        rows.push_back(row);
        ++i;
    }
    // The rows go in already sorted, at the end: the control's own sorted
    // insertion looks through every row for each new one.
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return lstrcmpA(a.shown, b.shown) < 0; });
    DWORD sortStyle = GetStyle() & (LVS_SORTASCENDING | LVS_SORTDESCENDING);
    SetRedraw(FALSE);
    ModifyStyle(sortStyle, 0);
    SetItemCount((int)rows.size());
    for (const Row& r : rows) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM | (r.text.image >= 0 ? LVIF_IMAGE : 0);
        item.iItem = GetItemCount();
        item.pszText = (LPSTR)(const char*)r.shown;
        item.iImage = r.text.image;
        item.lParam = (LPARAM)r.name;
        int index = InsertItem(&item);
        if (index >= 0) {
            SetItemText(index, 1, r.text.type);
            SetItemText(index, 2, r.text.data);
        }
    }
    ModifyStyle(0, sortStyle);
    SetRedraw(TRUE);
    Invalidate();
    ::RegCloseKey(key);
    StartWatcher();
}

void CRegistryListCtrl::StartWatcher()
{
    ASSERT(m_pWatcher == nullptr);
    WatchContext* context = new WatchContext;
    context->hList = m_hWnd;
    context->hRoot = m_hRoot;
    context->path = m_strPath;
    context->hStop = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    context->generation = ++m_nGeneration;
    CWinThread* thread =
        context->hStop ? AfxBeginThread(WatchKeyThread, context, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED) : nullptr;
    if (!thread) {
        if (context->hStop)
            ::CloseHandle(context->hStop);
        delete context;
        return;
    }
    // The list waits for its watcher, so the thread object stays until then.
    thread->m_bAutoDelete = FALSE;
    m_pWatcher = thread;
    m_pWatch = context;
    thread->ResumeThread();
}

void CRegistryListCtrl::StopWatcher()
{
    if (!m_pWatcher)
        return;
    ::SetEvent(m_pWatch->hStop);
    ::WaitForSingleObject(m_pWatcher->m_hThread, INFINITE);
    delete m_pWatcher;
    ::CloseHandle(m_pWatch->hStop);
    delete m_pWatch;
    m_pWatcher = nullptr;
    m_pWatch = nullptr;
}

UINT CRegistryListCtrl::WatchKeyThread(LPVOID pParam)
{
    // Touches nothing but its context, which the list keeps until it has
    // waited for this thread.
    WatchContext* context = (WatchContext*)pParam;
    HKEY key = OpenRegKey(context->hRoot, context->path, KEY_NOTIFY);
    if (!key)
        return 0;
    HANDLE changed = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    UINT result = 0;
    if (changed && ::RegNotifyChangeKeyValue(key, TRUE, REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE) == ERROR_SUCCESS) {
        HANDLE events[2] = {changed, context->hStop};
        if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0) {
            ::PostMessageA(context->hList, WM_REGKEY_CHANGED, (WPARAM)context->generation, 0);
            result = 1;
        }
    }
    if (changed)
        ::CloseHandle(changed);
    ::RegCloseKey(key);
    return result;
}

LRESULT CRegistryListCtrl::OnKeyChanged(WPARAM wParam, LPARAM)
{
    // Only the current watcher's report counts: an earlier key's is late.
    if ((UINT)wParam == m_nGeneration && m_pWatcher)
        FillValues();
    return 0;
}

LRESULT CRegistryListCtrl::OnRefill(WPARAM, LPARAM)
{
    FillValues();
    return 0;
}

void CRegistryListCtrl::OnDestroy()
{
    StopWatcher();
    CListCtrl::OnDestroy();
}

void CRegistryListCtrl::DeleteSelectedValues()
{
    if (GetSelectedCount() == 0)
        return;
    if (AskLng(SafeHwnd(GetParent()), "Holberin", "22790", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    HKEY key = OpenKey(KEY_SET_VALUE);
    if (key) {
        for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
            ::RegDeleteValueA(key, GetValueName(row));
        ::RegCloseKey(key);
    }
    FillValues();
}

BOOL CRegistryListCtrl::RenameValue(int nRow, const CString& newName)
{
    CString oldName = GetValueName(nRow);
    if (newName.IsEmpty() || newName == oldName)
        return FALSE;
    HKEY key = OpenKey(KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (!key)
        return FALSE;
    BOOL renamed = FALSE;
    DWORD type = 0;
    std::vector<BYTE> data, check;
    if (::RegQueryValueExA(key, newName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        AskLng(SafeHwnd(GetParent()), "Holberin", "22800", MB_OK | MB_ICONEXCLAMATION);
    } else if (ReadValue(key, oldName, type, data)) {
        DWORD checkType = 0;
        if (::RegSetValueExA(key, newName, 0, type, data.data(), (DWORD)data.size()) == ERROR_SUCCESS &&
            ReadValue(key, newName, checkType, check) && checkType == type && check == data) {
            renamed = ::RegDeleteValueA(key, oldName) == ERROR_SUCCESS;
        } else {
            ::RegDeleteValueA(key, newName);
        }
    }
    ::RegCloseKey(key);
    PostMessage(WM_REGKEY_REFILL);
    return renamed;
}

void CRegistryListCtrl::OnKeyDown(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLVKEYDOWN* key = (NMLVKEYDOWN*)pNMHDR;
    if (key->wVKey == VK_DELETE)
        DeleteSelectedValues();
    else if (key->wVKey == VK_F5)
        FillValues();
    *pResult = 0;
}

void CRegistryListCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLVDISPINFOA* info = (NMLVDISPINFOA*)pNMHDR;
    // The list is filled again from the registry: the control keeps no text of its own.
    *pResult = FALSE;
    if (info->item.pszText)
        RenameValue(info->item.iItem, info->item.pszText);
}

// ---------------------------------------------------------------- CRegEdit

BEGIN_MESSAGE_MAP(CRegEdit, CCorvaletDialogBase)
    ON_NOTIFY(TVN_ITEMEXPANDINGA, IDC_REGTREE, OnItemExpanding)
    ON_NOTIFY(TVN_SELCHANGEDA, IDC_REGTREE, OnSelChanged)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_REGVALUES, OnValueChanged)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CRegEdit::CRegEdit(CWnd* pParent) : CCorvaletDialogBase(IDD, pParent) {}

CRegEdit::~CRegEdit() {}

BOOL CRegEdit::OnInitDialog()
{
    CCorvaletDialogBase::OnInitDialog();
    SetWindowLngText(m_hWnd, "Holberin", "21700");
    SetDlgItemLngText(m_hWnd, IDOK, "General", "30000");
    SetDlgItemLngText(m_hWnd, IDCANCEL, "General", "30010");
    SetDlgItemLngText(m_hWnd, IDC_REGTEXT, "Holberin", "21600");
    m_values.SubclassDlgItem(IDC_REGVALUES, this);
    m_values.Init();
    m_tree.SubclassDlgItem(IDC_REGTREE, this);
    m_fullKey.SubclassDlgItem(IDC_FULLKEY, this);
    m_fullKey.SetTransparent(TRUE);
    m_fullKey.SetText("");
    if (m_treeImages.Create(IDB_REGTREE, 16, 4, RGB(255, 0, 255)))
        m_tree.SetImageList(&m_treeImages, TVSIL_NORMAL);
    m_tree.SetRedraw(FALSE);
    for (const auto& root : kRoots) {
        HTREEITEM item = m_tree.InsertItem(root.name, 0, 1);
        AddSubkeys(item);
        m_tree.SetItemData(item, 1);
    }
    m_tree.SetRedraw(TRUE);
    return TRUE;
}

CString CRegEdit::ItemPath(HTREEITEM hItem, HKEY* pRoot) const
{
    CString path;
    HTREEITEM item = hItem;
    for (HTREEITEM parent = m_tree.GetParentItem(item); parent; parent = m_tree.GetParentItem(item)) {
        path = m_tree.GetItemText(item) + "\\" + path;
        item = parent;
    }
    CString rootName = m_tree.GetItemText(item);
    *pRoot = nullptr;
    for (const auto& root : kRoots)
        if (rootName == root.name)
            *pRoot = root.key;
    return path;
}

void CRegEdit::AddSubkeys(HTREEITEM hItem)
{
    HKEY root = nullptr;
    CString path = ItemPath(hItem, &root);
    if (!root)
        return;
    std::vector<CString> names = EnumerateSubkeys(root, path);
    for (const CString& name : names)
        m_tree.InsertItem(name, 0, 1, hItem, TVI_LAST);
}

void CRegEdit::PopulateChildren(HTREEITEM hItem)
{
    m_tree.SetRedraw(FALSE);
    for (HTREEITEM child = m_tree.GetChildItem(hItem); child; child = m_tree.GetNextSiblingItem(child)) {
        // Each item gets its subkeys once, however often it is expanded.
        if (m_tree.GetItemData(child))
            continue;
        AddSubkeys(child);
        m_tree.SetItemData(child, 1);
    }
    m_tree.SetRedraw(TRUE);
}

void CRegEdit::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTREEVIEWA* tv = (NMTREEVIEWA*)pNMHDR;
    if (tv->action == TVE_EXPAND)
        PopulateChildren(tv->itemNew.hItem);
    *pResult = 0;
}

void CRegEdit::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMTREEVIEWA* tv = (NMTREEVIEWA*)pNMHDR;
    *pResult = 0;
    if (!tv->itemNew.hItem)
        return;
    HKEY root = nullptr;
    CString path = ItemPath(tv->itemNew.hItem, &root);
    HTREEITEM top = tv->itemNew.hItem;
    while (m_tree.GetParentItem(top))
        top = m_tree.GetParentItem(top);
    CString full = m_tree.GetItemText(top) + "\\" + path;
    m_fullKey.SetText(full);
    // The security database is never read.
    if (full == kSecurityKey)
        m_values.SelectKey(nullptr, CString());
    else
        m_values.SelectKey(root, path);
}

void CRegEdit::OnValueChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLISTVIEW* lv = (NMLISTVIEW*)pNMHDR;
    *pResult = 0;
    if (!(lv->uChanged & LVIF_STATE))
        return;
    int row = m_values.GetNextItem(-1, LVNI_SELECTED);
    HTREEITEM item = m_tree.GetSelectedItem();
    if (!item)
        return;
    HKEY root = nullptr;
    CString path = ItemPath(item, &root);
    HTREEITEM top = item;
    while (m_tree.GetParentItem(top))
        top = m_tree.GetParentItem(top);
    // The selected value's path, or the key's while no value is selected.
    m_fullKey.SetText(m_tree.GetItemText(top) + "\\" + path + (row >= 0 ? m_values.GetValueName(row) : CString()));
}

void CRegEdit::OnOK()
{
    int row = m_values.GetNextItem(-1, LVNI_SELECTED);
    if (row >= 0 && m_values.GetValueName(row).Find('\\') >= 0) {
        // The entry would name another value (the name is cut at its "\").
        AskLng(m_hWnd, "Holberin", "22810", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_strFullKey = m_fullKey.GetText();
    m_values.StopWatcher();
    EndDialog(IDOK);
}

HBRUSH CRegEdit::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_STATIC && pWnd && pWnd->GetDlgCtrlID() == IDC_REGTEXT) {
        pDC->SetBkMode(TRANSPARENT);
        return (HBRUSH)::GetSysColorBrush(COLOR_BTNFACE);
    }
    return CCorvaletDialogBase::OnCtlColor(pDC, pWnd, nCtlColor);
}
