// The registry browser and its value list with the change watcher.
#include "RegEdit.h"
#include "services.h"
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

// Opens root\path; the owner stays empty when the key cannot be opened.
BOOL OpenRegKey(CRegKeyHandle& key, HKEY root, const CString& path, REGSAM access)
{
    return ::RegOpenKeyExA(root, WithoutClosingBackslash(path), 0, access, key.Receive()) == ERROR_SUCCESS;
}

// The whole data of a value, untranslated; FALSE when it cannot be read.
BOOL ReadValue(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data)
{
    DWORD size = 0;
    LONG r = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    for (int tries = 0; tries < 4 && (r == ERROR_SUCCESS || r == ERROR_MORE_DATA); ++tries) {
        data.resize(size + 1);
        DWORD got = size + 1;
        r = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &got);
        if (r == ERROR_SUCCESS) {
            data.resize(got);
            return TRUE;
        }
        size = got > size ? got : size * 2 + 16;
    }
    return FALSE;
}

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_LINK || type == REG_MULTI_SZ;
}

const char* kSecurityKey = "HKEY_LOCAL_MACHINE\\SECURITY\\";

// The ANSI form of a registry name when the code page carries it exactly: no
// best-fit look-alike ("Wlodek" for "W\x0142odek") or "?", which may name
// another key or value. FALSE otherwise.
BOOL ExactAnsiName(const wchar_t* name, int length, CString& narrow)
{
    narrow.Empty();
    if (length == 0)
        return TRUE;
    // A UTF-8 code page takes no default-character flag: the round trip decides.
    BOOL usedDefault = FALSE;
    BOOL* used = ::GetACP() == CP_UTF8 ? nullptr : &usedDefault;
    const DWORD flags = used ? WC_NO_BEST_FIT_CHARS : 0;
    const int n = ::WideCharToMultiByte(CP_ACP, flags, name, length, nullptr, 0, nullptr, used);
    if (n <= 0 || usedDefault)
        return FALSE;
    ::WideCharToMultiByte(CP_ACP, flags, name, length, narrow.GetBuffer(n), n, nullptr, used);
    narrow.ReleaseBuffer(n);
    std::wstring back((size_t)n, L'\0');
    const int m = ::MultiByteToWideChar(CP_ACP, 0, narrow, n, &back[0], n);
    return !usedDefault && m == length && back.compare(0, (size_t)m, name, (size_t)length) == 0;
}

// The type column and image of a type: its data is not formatted.
CRegValueText TypeText(DWORD type)
{
    const BYTE none = 0;
    return FormatRegValue(type, &none, 0);
}

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

// ---------------------------------------------------------------- CRegistryListCtrl

BEGIN_MESSAGE_MAP(CRegistryListCtrl, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_KEYDOWN, OnKeyDown)
    ON_NOTIFY_REFLECT(LVN_BEGINLABELEDITA, OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDITA, OnEndLabelEdit)
    ON_NOTIFY_REFLECT(LVN_GETDISPINFOA, OnGetDispInfo)
    ON_NOTIFY_REFLECT(LVN_ODFINDITEMA, OnFindItem)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_REGKEY_CHANGED, OnKeyChanged)
    ON_MESSAGE(WM_REGKEY_REFILL, OnRefill)
END_MESSAGE_MAP()

CRegistryListCtrl::CRegistryListCtrl()
    : m_hRoot(nullptr), m_bEditing(FALSE), m_bFillWaiting(FALSE), m_pWatcher(nullptr), m_pWatch(nullptr),
      m_nGeneration(0), m_nFills(0)
{
}

CRegistryListCtrl::~CRegistryListCtrl() { StopWatcher(); }

void CRegistryListCtrl::Init()
{
    // The rows come from m_rows, already sorted, when the control shows them.
    ASSERT(GetStyle() & LVS_OWNERDATA);
    InsertColumn(0, GetLngString("General", "40732"), LVCFMT_LEFT, 150);
    InsertColumn(1, GetLngString("General", "41010"), LVCFMT_LEFT, 100);
    InsertColumn(2, GetLngString("General", "40770"), LVCFMT_LEFT, 234);
    if (m_images.Create(IDB_REGVALUES, 16, 1, RGB(0, 128, 128)))
        SetImageList(&m_images, LVSIL_SMALL);
    m_defaultName = GetLngString("Holberin", "22820", "(Default)");
    m_defaultNameW = WidenAnsi(m_defaultName);
}

BOOL CRegistryListCtrl::OpenKey(CRegKeyHandle& key, REGSAM access) const
{
    return m_hRoot && OpenRegKey(key, m_hRoot, m_strPath, access);
}

std::wstring CRegistryListCtrl::GetValueName(int nRow) const
{
    if (nRow < 0 || nRow >= (int)m_rows.size())
        return std::wstring();
    const Row& row = m_rows[nRow];
    return std::wstring(m_nameChars.data() + row.name, row.nameLength);
}

CString CRegistryListCtrl::RowName(const Row& row) const
{
    return row.nameLength ? NarrowToAnsi(m_nameChars.data() + row.name, (int)row.nameLength) : m_defaultName;
}

CRegValueText CRegistryListCtrl::RowValueText(const Row& row) const
{
    const BYTE* data = m_dataBytes.data() + row.data;
    if (!IsStringType(row.type))
        return FormatRegValue(row.type, data, row.dataLength);
    // The text as the list shows it, in the ANSI code page, up to its first NUL.
    const WCHAR* text = (const WCHAR*)data;
    int length = 0;
    while (length < (int)(row.dataLength / sizeof(WCHAR)) && text[length])
        ++length;
    CString narrow = NarrowToAnsi(text, length);
    return FormatRegValue(row.type, (const BYTE*)(const char*)narrow, (DWORD)narrow.GetLength());
}

void CRegistryListCtrl::SelectKey(HKEY root, const CString& path)
{
    if (m_bEditing) {
        // The edited name belongs to the key shown so far: its edit ends
        // without a rename.
        m_bEditing = FALSE;
        SendMessage(LVM_CANCELEDITLABEL, 0, 0);
    }
    StopWatcher();
    m_hRoot = root;
    m_strPath = root ? path : CString();
    FillValues();
}

void CRegistryListCtrl::FillValues()
{
    if (m_bEditing) {
        // A refill would move the edited row under the edit box.
        m_bFillWaiting = TRUE;
        return;
    }
    m_bFillWaiting = FALSE;
    StopWatcher();
    ++m_nFills;
    // No row stays selected: its index would name another value now.
    DeleteAllItems();
    m_rows.clear();
    m_nameChars.clear();
    m_dataBytes.clear();
    if (!m_hRoot)
        return;
    CRegKeyHandle key;
    if (!OpenKey(key, KEY_QUERY_VALUE)) {
        // A key that cannot be read is forgotten.
        m_hRoot = nullptr;
        m_strPath.Empty();
        return;
    }
    DWORD count = 0, maxName = 0, maxData = 0;
    ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName, &maxData, nullptr,
                       nullptr);
    std::vector<WCHAR> name(maxName + 1);
    std::vector<BYTE> data(maxData + sizeof(WCHAR));
    m_rows.reserve(count);
    for (DWORD i = 0, tries = 0;;) {
        DWORD nameLength = (DWORD)name.size(), dataLength = (DWORD)data.size(), type = 0;
        LONG r = ::RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength);
        if (r == ERROR_MORE_DATA && ++tries < 8) {
            // The value grew since the key was asked: larger buffers, same index.
            ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData,
                               nullptr, nullptr);
            name.resize(std::max<size_t>(maxName + 1, name.size() * 2));
            data.resize(std::max<size_t>(maxData + sizeof(WCHAR), data.size() * 2));
            continue;
        }
        tries = 0;
        ++i;
        if (r == ERROR_MORE_DATA)
            continue;
        if (r != ERROR_SUCCESS)
            break;
        // Texts start at an even offset, to be read as WCHARs.
        if (m_dataBytes.size() % 2)
            m_dataBytes.push_back(0);
        Row row = {m_nameChars.size(), nameLength, type, m_dataBytes.size(), dataLength};
        m_nameChars.insert(m_nameChars.end(), name.data(), name.data() + nameLength);
        m_dataBytes.insert(m_dataBytes.end(), data.data(), data.data() + dataLength);
        m_rows.push_back(row);
    }
    key.Close();
    // Ascending by the shown name, as a sorted list control would order them.
    auto shown = [this](const Row& row, int& length) {
        length = row.nameLength ? (int)row.nameLength : (int)m_defaultNameW.size();
        return row.nameLength ? m_nameChars.data() + row.name : m_defaultNameW.c_str();
    };
    std::sort(m_rows.begin(), m_rows.end(), [&](const Row& a, const Row& b) {
        int la, lb;
        const WCHAR* ta = shown(a, la);
        const WCHAR* tb = shown(b, lb);
        return ::CompareStringW(LOCALE_USER_DEFAULT, 0, ta, la, tb, lb) == CSTR_LESS_THAN;
    });
    SetItemCount((int)m_rows.size());
    StartWatcher();
}

void CRegistryListCtrl::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    LVITEMA& item = ((NMLVDISPINFOA*)pNMHDR)->item;
    *pResult = 0;
    if (item.iItem < 0 || item.iItem >= (int)m_rows.size())
        return;
    const Row& row = m_rows[item.iItem];
    if (item.mask & LVIF_IMAGE) {
        int image = TypeText(row.type).image;
        item.iImage = item.iSubItem == 0 && image >= 0 ? image : I_IMAGENONE;
    }
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        CString text;
        if (item.iSubItem == 0)
            text = RowName(row);
        else if (item.iSubItem == 1)
            text = TypeText(row.type).type;
        else if (item.iSubItem == 2)
            text = RowValueText(row).data;
        lstrcpynA(item.pszText, text, item.cchTextMax);
    }
}

void CRegistryListCtrl::OnFindItem(NMHDR* pNMHDR, LRESULT* pResult)
{
    // Typing the first letters of a name goes to its row.
    const LVFINDINFOA& find = ((NMLVFINDITEMA*)pNMHDR)->lvfi;
    int start = ((NMLVFINDITEMA*)pNMHDR)->iStart;
    int count = (int)m_rows.size();
    *pResult = -1;
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.psz || count == 0)
        return;
    int length = lstrlenA(find.psz);
    if (start < 0 || start >= count)
        start = 0;
    for (int k = 0; k < count; ++k) {
        if (start + k >= count && !(find.flags & LVFI_WRAP))
            break;
        int row = (start + k) % count;
        CString name = RowName(m_rows[row]);
        int compared = find.flags & LVFI_PARTIAL ? length : name.GetLength();
        if (name.GetLength() >= compared &&
            ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name, compared, find.psz, length) == CSTR_EQUAL) {
            *pResult = row;
            return;
        }
    }
}

void CRegistryListCtrl::StartWatcher()
{
    ASSERT(m_pWatcher == nullptr);
    WatchContext* context = new WatchContext;
    context->hList = m_hWnd;
    context->hRoot = m_hRoot;
    context->path = m_strPath;
    context->generation = ++m_nGeneration;
    CWinThread* thread = context->stop.Attach(::CreateEventA(nullptr, TRUE, FALSE, nullptr))
                             ? AfxBeginThread(WatchKeyThread, context, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED)
                             : nullptr;
    if (!thread) {
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
    ::SetEvent(m_pWatch->stop);
    ::WaitForSingleObject(m_pWatcher->m_hThread, INFINITE);
    delete m_pWatcher;
    delete m_pWatch;
    m_pWatcher = nullptr;
    m_pWatch = nullptr;
}

UINT CRegistryListCtrl::WatchKeyThread(LPVOID pParam)
{
    // Touches nothing but its context, which the list keeps until it has
    // waited for this thread.
    WatchContext* context = (WatchContext*)pParam;
    CRegKeyHandle key;
    if (!OpenRegKey(key, context->hRoot, context->path, KEY_NOTIFY))
        return 0;
    CHandle changed(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!changed.IsValid() ||
        ::RegNotifyChangeKeyValue(key, TRUE, REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE) != ERROR_SUCCESS)
        return 0;
    HANDLE events[2] = {changed, context->stop};
    if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0)
        return 0;
    ::PostMessageA(context->hList, WM_REGKEY_CHANGED, (WPARAM)context->generation, 0);
    return 1;
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
    // The key and the names are taken before the question: a refill while it
    // is open moves the rows.
    HKEY root = m_hRoot;
    CString path = m_strPath;
    std::vector<std::wstring> names;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
        names.push_back(GetValueName(row));
    if (names.empty() || !root)
        return;
    if (AskLng(SafeHwnd(GetParent()), "Holberin", "22790", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    CRegKeyHandle key;
    if (OpenRegKey(key, root, path, KEY_SET_VALUE))
        for (const std::wstring& name : names)
            ::RegDeleteValueW(key, name.c_str());
    FillValues();
}

BOOL CRegistryListCtrl::RenameValue(const std::wstring& oldName, const std::wstring& newName)
{
    if (newName.empty() || newName == oldName)
        return FALSE;
    if (newName.find(L'\\') != std::wstring::npos) {
        // A plug-in entry would read the part after the "\" as the value.
        AskLng(SafeHwnd(GetParent()), "Holberin", "22810", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    CRegKeyHandle key;
    if (!OpenKey(key, KEY_QUERY_VALUE | KEY_SET_VALUE))
        return FALSE;
    if (::RegQueryValueExW(key, newName.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        AskLng(SafeHwnd(GetParent()), "Holberin", "22800", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    DWORD type = 0, checkType = 0;
    std::vector<BYTE> data, check;
    if (!ReadValue(key, oldName, type, data))
        return FALSE;
    BOOL renamed = FALSE;
    if (::RegSetValueExW(key, newName.c_str(), 0, type, data.data(), (DWORD)data.size()) == ERROR_SUCCESS &&
        ReadValue(key, newName, checkType, check) && checkType == type && check == data)
        renamed = ::RegDeleteValueW(key, oldName.c_str()) == ERROR_SUCCESS;
    else
        ::RegDeleteValueW(key, newName.c_str());
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

void CRegistryListCtrl::OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    int row = ((NMLVDISPINFOA*)pNMHDR)->item.iItem;
    // The rename acts on the value the user began with, whatever the rows
    // are when the edit ends.
    *pResult = row < 0 || row >= (int)m_rows.size();
    if (*pResult)
        return;
    m_editName = GetValueName(row);
    m_bEditing = TRUE;
}

void CRegistryListCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLVDISPINFOA* info = (NMLVDISPINFOA*)pNMHDR;
    // The list is filled again from the registry: the control keeps no text of its own.
    *pResult = FALSE;
    if (!m_bEditing)
        return;
    if (info->item.pszText)
        RenameValue(m_editName, WidenAnsi(info->item.pszText));
    m_bEditing = FALSE;
    if (m_bFillWaiting)
        PostMessage(WM_REGKEY_REFILL);
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
        int node = AddNode(-1, root.name, root.key);
        if (node >= 0)
            AddSubkeys(node, root.key);
    }
    m_tree.SetRedraw(TRUE);
    return TRUE;
}

int CRegEdit::AddNode(int parent, const CString& name, HKEY root, bool exact)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent >= 0 ? m_keys[parent].item : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = (LPSTR)(const char*)name;
    insert.item.iImage = 0;
    insert.item.iSelectedImage = 1;
    insert.item.lParam = (LPARAM)m_keys.size();
    // Thousands of keys: each goes past the thread's hooks.
    HTREEITEM item = (HTREEITEM)SendPastHooks(m_tree.m_hWnd, TVM_INSERTITEMA, 0, (LPARAM)&insert);
    if (!item)
        return -1;
    int index = (int)m_keys.size();
    m_keys.push_back(KeyNode{name, root, parent, -1, -1, -1, item, false, exact});
    if (parent >= 0) {
        KeyNode& p = m_keys[parent];
        if (p.lastChild < 0)
            p.firstChild = index;
        else
            m_keys[p.lastChild].next = index;
        p.lastChild = index;
    }
    return index;
}

void CRegEdit::AddSubkeys(int node, HKEY key)
{
    // Read in UTF-16, so that a name the code page cannot carry is known as one.
    wchar_t name[260];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof(name) / sizeof(name[0]);
        if (::RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        CString narrow;
        const bool exact = ExactAnsiName(name, (int)length, narrow) != FALSE;
        if (length > 0)
            AddNode(node, exact ? narrow : NarrowToAnsi(name, (int)length), nullptr, exact);
    }
}

int CRegEdit::NodeOf(HTREEITEM hItem) const
{
    size_t node = hItem ? (size_t)m_tree.GetItemData(hItem) : m_keys.size();
    return node < m_keys.size() && m_keys[node].item == hItem ? (int)node : -1;
}

CString CRegEdit::NodePath(int node, int* pTop) const
{
    CString path;
    for (; m_keys[node].parent >= 0; node = m_keys[node].parent)
        path = m_keys[node].name + "\\" + path;
    *pTop = node;
    return path;
}

CString CRegEdit::ItemPath(HTREEITEM hItem, HKEY* pRoot) const
{
    int node = NodeOf(hItem), top = -1;
    CString path = node >= 0 ? NodePath(node, &top) : CString();
    *pRoot = top >= 0 ? m_keys[top].root : nullptr;
    return path;
}

bool CRegEdit::IsNodeExact(int node) const
{
    for (; node >= 0; node = m_keys[node].parent)
        if (!m_keys[node].exact)
            return false;
    return true;
}

CString CRegEdit::SelectedKeyText() const
{
    int node = NodeOf(m_tree.GetSelectedItem()), top = -1;
    if (node < 0)
        return CString();
    CString path = NodePath(node, &top);
    return m_keys[top].name + "\\" + path;
}

void CRegEdit::PopulateChildren(HTREEITEM hItem)
{
    int node = NodeOf(hItem), top = -1;
    if (node < 0 || m_keys[node].childrenFilled)
        return;
    // Each item gets its subkeys once, however often it is expanded.
    m_keys[node].childrenFilled = true;
    CString path = NodePath(node, &top);
    CRegKeyHandle key;
    if (!OpenRegKey(key, m_keys[top].root, path, KEY_ENUMERATE_SUB_KEYS))
        return;
    m_tree.SetRedraw(FALSE);
    for (int child = m_keys[node].firstChild; child >= 0; child = m_keys[child].next) {
        // Opened below the parent's open key: the registry walks no path
        // again. A look-alike name would open another key.
        CRegKeyHandle subkey;
        if (m_keys[child].exact && ::RegOpenKeyExA(key, m_keys[child].name, 0, KEY_ENUMERATE_SUB_KEYS, subkey.Receive()) == ERROR_SUCCESS)
            AddSubkeys(child, subkey);
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
    HKEY root = nullptr;
    CString path = ItemPath(tv->itemNew.hItem, &root);
    if (!root)
        return;
    CString full = SelectedKeyText();
    m_fullKey.SetText(full);
    // The security database is never read, nor another key under a
    // look-alike name.
    if (full == kSecurityKey || !IsNodeExact(NodeOf(tv->itemNew.hItem)))
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
    CString key = SelectedKeyText();
    if (key.IsEmpty())
        return;
    // The selected value's path, or the key's while no value is selected.
    int row = m_values.GetNextItem(-1, LVNI_SELECTED);
    std::wstring name = row >= 0 ? m_values.GetValueName(row) : std::wstring();
    m_fullKey.SetText(key + NarrowToAnsi(name.c_str(), (int)name.size()));
}

BOOL CRegEdit::SelectedPath(CString& path)
{
    // Built from the selection at this moment: the full-key line follows
    // only selection changes, and a refill, F5, a rename or a delete leave it
    // naming what is gone.
    path.Empty();
    const int node = NodeOf(m_tree.GetSelectedItem());
    if (node < 0)
        return TRUE;
    const int row = m_values.GetNextItem(-1, LVNI_SELECTED);
    const std::wstring name = row >= 0 ? m_values.GetValueName(row) : std::wstring();
    if (name.find(L'\\') != std::wstring::npos) {
        // The entry would name another value (the name is cut at its "\").
        AskLng(m_hWnd, "Holberin", "22810", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    CString narrow;
    if (!IsNodeExact(node) || !ExactAnsiName(name.c_str(), (int)name.size(), narrow)) {
        AskLng(m_hWnd, "Holberin", "22910", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    path = SelectedKeyText() + narrow;
    return TRUE;
}

void CRegEdit::OnOK()
{
    CString path;
    if (!SelectedPath(path))
        return;
    m_strFullKey = path;
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
