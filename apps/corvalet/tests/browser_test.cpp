// The registry browser on a scratch key: value rows, rename, the tree, and
// the change watcher (other processes' writes, a changed key, the end).
#include "corvalet_fixture.h"
#include "RegEdit.h"
#include <tlhelp32.h>

using namespace pirt_test;

namespace {

int ThreadCount()
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 te = {sizeof(te)};
    int n = 0;
    for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te))
        if (te.th32OwnerProcessID == GetCurrentProcessId())
            ++n;
    CloseHandle(snap);
    return n;
}

void SetValue(const CString& keyPath, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, (const BYTE*)data, size);
    RegCloseKey(key);
}

std::wstring Wide(const char* text)
{
    std::wstring wide;
    for (; *text; ++text)
        wide += (wchar_t)(unsigned char)*text;
    return wide;
}

// The type and data of a value, read untranslated; false when it is absent.
bool ReadValue(const CString& keyPath, const std::wstring& name, DWORD& type, std::vector<BYTE>& data)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    data.resize(8192);
    DWORD size = (DWORD)data.size();
    LONG r = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    data.resize(size);
    return r == ERROR_SUCCESS;
}

bool HasValue(const CString& keyPath, const std::wstring& name)
{
    DWORD type;
    std::vector<BYTE> data;
    return ReadValue(keyPath, name, type, data);
}

void SetValueW(const CString& keyPath, const std::wstring& name, const std::wstring& text)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, (const BYTE*)text.c_str(), (DWORD)((text.size() + 1) * 2));
    RegCloseKey(key);
}

// The row of a value by its real name, -1 when absent.
int RowOfName(CRegistryListCtrl& list, const std::wstring& name)
{
    for (int i = 0; i < list.GetItemCount(); ++i)
        if (list.GetValueName(i) == name)
            return i;
    return -1;
}

// Runs "reg add" in a process of its own and waits for it.
void RegAdd(const CString& keyPath, const char* name)
{
    CString cmd = CString("reg.exe add \"HKCU\\") + keyPath + "\" /v " + name + " /d x /f";
    STARTUPINFOA si = {sizeof(si)};
    PROCESS_INFORMATION pi;
    ASSERT_TRUE(CreateProcessA(nullptr, cmd.GetBuffer(0), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                               &si, &pi));
    cmd.ReleaseBuffer();
    WaitForSingleObject(pi.hProcess, 20000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// The row of a value by its shown name, -1 when absent.
int RowOf(CRegistryListCtrl& list, const char* shown)
{
    for (int i = 0; i < list.GetItemCount(); ++i)
        if (list.GetItemText(i, 0) == shown)
            return i;
    return -1;
}

// Pumps until the list has rows rows, at most ms milliseconds.
bool WaitForRows(CRegistryListCtrl& list, int rows, DWORD ms)
{
    DWORD start = GetTickCount();
    while (list.GetItemCount() != rows && GetTickCount() - start < ms)
        PumpFor(20);
    return list.GetItemCount() == rows;
}

// Pumps until the list was filled again after fills fills (or, with waiting,
// a fill waits for a label edit's end): the watcher's report arrived.
bool WaitForFill(CRegistryListCtrl& list, int fills, bool waiting = false)
{
    DWORD start = GetTickCount();
    auto arrived = [&] { return waiting ? list.IsFillWaiting() != FALSE : list.GetFillCount() > fills; };
    while (!arrived() && GetTickCount() - start < 15000)
        PumpFor(20);
    return arrived();
}

class BrowserTest : public CorvaletTest
{
protected:
    void SetUp() override
    {
        CorvaletTest::SetUp();
        m_key.reset(new CScratchRegKey("corvalet"));
        StartApp();
        ASSERT_TRUE(m_browser.Create(CRegEdit::IDD, m_frame));
        m_browser.ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        if (m_browser.m_hWnd)
            m_browser.DestroyWindow();
        m_key.reset();
        CorvaletTest::TearDown();
    }
    void Show(const CString& path) { m_browser.Values().SelectKey(HKEY_CURRENT_USER, path + "\\"); }
    // The tree item of a key below HKEY_CURRENT_USER, expanded to on the way.
    HTREEITEM ExpandTo(const CString& path)
    {
        CTreeCtrl& tree = m_browser.Tree();
        HTREEITEM item = tree.GetNextSiblingItem(tree.GetRootItem());
        for (CString rest = path; item && !rest.IsEmpty();) {
            CString part = rest.SpanExcluding("\\");
            rest = rest.Mid(part.GetLength() + 1);
            tree.Expand(item, TVE_EXPAND);
            HTREEITEM child = tree.GetChildItem(item);
            while (child && tree.GetItemText(child).CompareNoCase(part) != 0)
                child = tree.GetNextSiblingItem(child);
            item = child;
        }
        return item;
    }
    CString Path() const { return m_key->Path(); }

    std::unique_ptr<CScratchRegKey> m_key;
    CRegEdit m_browser;
};

} // namespace

TEST(RegValueTextTest, EachTypeShowsItsData)
{
    const BYTE dword255[] = {0xff, 0, 0, 0};
    const BYTE bigEndian[] = {0, 0, 1, 0};
    const BYTE binary[] = {0x01, 0xab};
    const BYTE qword[] = {1, 0, 0, 0, 0, 0, 0, 0};
    const char text[] = "abc\0def";
    const char unended[] = {'x', 'y'};
    const struct
    {
        DWORD type;
        const void* data;
        DWORD size;
        const char* typeText;
        const char* dataText;
        int image;
    } cases[] = {
        {REG_DWORD, dword255, 4, "REG_DWORD", "0xff (255)", 1},
        {REG_DWORD_BIG_ENDIAN, bigEndian, 4, "REG_DWORD", "0x100 (256)", 1},
        {REG_DWORD, dword255, 2, "REG_DWORD", "", 1},
        {REG_BINARY, binary, 2, "REG_BINARY", "01 ab ", 1},
        {REG_QWORD, qword, 8, "REG_NONE", "", -1},
        {REG_MULTI_SZ, text, 8, "REG_SZ", "abc", 0},
        {REG_SZ, unended, 2, "REG_SZ", "xy", 0},
    };
    for (const auto& c : cases) {
        CRegValueText t = FormatRegValue(c.type, (const BYTE*)c.data, c.size);
        EXPECT_EQ(t.type, c.typeText) << c.dataText;
        EXPECT_EQ(t.data, c.dataText) << c.typeText;
        EXPECT_EQ(t.image, c.image) << c.dataText;
    }
}

TEST_F(BrowserTest, EveryValueShowsOnceUnderItsOwnName)
{
    std::vector<BYTE> big(2000, 0x5a);
    SetValue(Path(), "a", REG_SZ, "first", 6);
    SetValue(Path(), "m", REG_BINARY, big.data(), (DWORD)big.size());
    SetValue(Path(), "z", REG_SZ, "last", 5);
    SetValue(Path(), "", REG_SZ, "unnamed", 8);
    Show(Path());
    CRegistryListCtrl& list = m_browser.Values();
    ASSERT_EQ(list.GetItemCount(), 4);
    const char* names[] = {"a", "m", "z"};
    for (const char* name : names) {
        int row = RowOf(list, name);
        ASSERT_GE(row, 0) << name;
        EXPECT_EQ(list.GetValueName(row), Wide(name));
    }
    int unnamed = RowOf(list, GetLngString("Holberin", "22820"));
    ASSERT_GE(unnamed, 0);
    EXPECT_EQ(list.GetValueName(unnamed), L"");
    EXPECT_EQ(list.GetItemText(RowOf(list, "m"), 2).GetLength(), 2000 * 3);
    EXPECT_EQ(list.GetItemText(RowOf(list, "z"), 2), "last");
}

TEST_F(BrowserTest, RenameKeepsEveryByteAndNeverOverwrites)
{
    std::vector<BYTE> big(3000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = (BYTE)(i * 7);
    SetValue(Path(), "old", REG_BINARY, big.data(), (DWORD)big.size());
    SetValue(Path(), "taken", REG_SZ, "keep", 5);
    Show(Path());
    CRegistryListCtrl& list = m_browser.Values();
    EXPECT_FALSE(list.RenameValue(L"old", L"taken"));
    EXPECT_TRUE(m_asker.Showed("Holberin", "22800"));
    // A plug-in entry would read the part after the "\" as the value's name.
    EXPECT_FALSE(list.RenameValue(L"old", L"a\\b"));
    EXPECT_TRUE(m_asker.Showed("Holberin", "22810"));
    EXPECT_FALSE(HasValue(Path(), L"a\\b"));
    EXPECT_FALSE(list.RenameValue(L"old", L"old"));
    EXPECT_FALSE(list.RenameValue(L"old", L""));
    // Every byte reaches the new name, also of names and texts outside the
    // ANSI code page.
    SetValueW(Path(), L"\x0416\x4e2d", L"plain");
    SetValueW(Path(), L"plain", L"\x0434\x0430\x043d\x043d\x044b\x0435 \x4e2d\x6587");
    const struct
    {
        const wchar_t* name;
        const wchar_t* newName;
    } renames[] = {{L"old", L"new"}, {L"\x0416\x4e2d", L"renamed"}, {L"plain", L"\x03a9"}};
    for (const auto& r : renames) {
        DWORD type = 0, newType = 0;
        std::vector<BYTE> data, newData;
        ASSERT_TRUE(ReadValue(Path(), r.name, type, data)) << r.newName;
        EXPECT_TRUE(list.RenameValue(r.name, r.newName)) << r.newName;
        EXPECT_TRUE(ReadValue(Path(), r.newName, newType, newData)) << r.newName;
        EXPECT_FALSE(HasValue(Path(), r.name)) << r.newName;
        EXPECT_EQ(newType, type) << r.newName;
        EXPECT_EQ(newData, data) << r.newName;
    }
    DWORD type = 0;
    std::vector<BYTE> taken;
    ASSERT_TRUE(ReadValue(Path(), L"taken", type, taken));
    EXPECT_EQ(std::wstring((const wchar_t*)taken.data()), L"keep");
    // Nor is a value that has a "\" in its name taken for an entry.
    SetValueW(Path(), L"c\\d", L"x");
    Show(Path());
    list.SetItemState(RowOfName(list, L"c\\d"), LVIS_SELECTED, LVIS_SELECTED);
    m_asker.asked.clear();
    m_browser.OnOK();
    EXPECT_TRUE(m_asker.Showed("Holberin", "22810"));
    EXPECT_TRUE(m_browser.m_strFullKey.IsEmpty());
}

TEST_F(BrowserTest, DeleteRemovesTheSelectedValueByItsRealName)
{
    // The unnamed value shows as the literal name's text; the name outside
    // the code page shows as "?".
    const std::wstring literal = Wide(GetLngString("Holberin", "22820"));
    const std::wstring names[] = {L"", literal, L"\x0416", L"?"};
    int round = 0;
    for (const std::wstring& chosen : names) {
        for (const std::wstring& name : names)
            SetValueW(Path(), name, L"x");
        Show(Path());
        CRegistryListCtrl& list = m_browser.Values();
        int row = RowOfName(list, chosen);
        ASSERT_GE(row, 0);
        list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        m_asker.answers.push_back(IDYES);
        // Another process adds a value above while the question is open (a
        // new one each round: writing one again may change nothing).
        CString added;
        added.Format("0added%d", round++);
        m_asker.whileAsking = [&] {
            const int fills = list.GetFillCount();
            RegAdd(Path(), added);
            EXPECT_TRUE(WaitForFill(list, fills));
        };
        m_asker.captions.clear();
        list.DeleteSelectedValues();
        ASSERT_EQ(m_asker.captions.size(), 1u);
        EXPECT_EQ(m_asker.captions[0], AfxGetAppName());
        for (const std::wstring& name : names)
            EXPECT_EQ(HasValue(Path(), name), name != chosen) << list.GetItemCount();
        EXPECT_TRUE(HasValue(Path(), Wide(added)));
    }
}

TEST_F(BrowserTest, TheEditedValueIsRenamedThoughAValueIsAddedAboveIt)
{
    SetValue(Path(), "m", REG_SZ, "edited", 7);
    SetValue(Path(), "z", REG_SZ, "other", 6);
    Show(Path());
    CRegistryListCtrl& list = m_browser.Values();
    int row = RowOf(list, "m");
    HWND edit = (HWND)list.SendMessage(LVM_EDITLABELA, (WPARAM)row, 0);
    ASSERT_NE(edit, nullptr);
    // Another process adds a value that sorts above the edited one; the
    // watcher reports it while the edit is open, and the edit box stays over
    // the edited value.
    RegAdd(Path(), "a");
    ASSERT_TRUE(WaitForFill(list, 0, true));
    EXPECT_EQ(list.GetItemText(row, 0), "m");
    SetWindowTextA(edit, "renamed");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    PumpFor(100);
    DWORD type;
    std::vector<BYTE> data;
    ASSERT_TRUE(ReadValue(Path(), L"renamed", type, data));
    EXPECT_EQ(std::wstring((const wchar_t*)data.data()), L"edited");
    EXPECT_FALSE(HasValue(Path(), L"m"));
    EXPECT_TRUE(HasValue(Path(), L"a"));
    EXPECT_TRUE(HasValue(Path(), L"z"));
    EXPECT_TRUE(WaitForRows(list, 3, 2000));
    EXPECT_GE(RowOf(list, "renamed"), 0);
}

TEST_F(BrowserTest, ExpandingAgainAddsNothing)
{
    HKEY key;
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CURRENT_USER, Path() + "\\A\\A1", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Path() + "\\B", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    CTreeCtrl& tree = m_browser.Tree();
    HTREEITEM item = ExpandTo(Path());
    ASSERT_NE(item, nullptr);
    auto count = [&](HTREEITEM parent) {
        int n = 0;
        for (HTREEITEM c = tree.GetChildItem(parent); c; c = tree.GetNextSiblingItem(c))
            ++n;
        return n;
    };
    for (int round = 0; round < 3; ++round) {
        tree.Expand(item, TVE_EXPAND);
        tree.Expand(item, TVE_COLLAPSE);
    }
    EXPECT_EQ(count(item), 2);
    HTREEITEM a = tree.GetChildItem(item);
    EXPECT_EQ(tree.GetItemText(a), "A");
    EXPECT_EQ(count(a), 1);
    tree.SelectItem(a);
    CString full;
    m_browser.GetDlgItemText(IDC_FULLKEY, full);
    EXPECT_EQ(full, CString("HKEY_CURRENT_USER\\") + Path() + "\\A\\");
    m_browser.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(50);
    EXPECT_TRUE(SaveWindowPicture(m_browser.m_hWnd, ScreenshotPath("corvalet-registry.bmp")));
}

TEST_F(BrowserTest, TheWatcherFollowsOtherProcessesAndOnlyTheShownKey)
{
    SetValue(Path() + "\\shown", "v0", REG_SZ, "0", 2);
    SetValue(Path() + "\\other", "w0", REG_SZ, "0", 2);
    Show(Path() + "\\shown");
    CRegistryListCtrl& list = m_browser.Values();
    ASSERT_EQ(list.GetItemCount(), 1);
    RegAdd(Path() + "\\shown", "v1");
    EXPECT_TRUE(WaitForRows(list, 2, 2000));
    RegAdd(Path() + "\\shown", "v2");
    EXPECT_TRUE(WaitForRows(list, 3, 2000));

    // After another key is shown, the first one's changes are not followed.
    Show(Path() + "\\other");
    ASSERT_EQ(list.GetItemCount(), 1);
    int fills = list.GetFillCount();
    RegAdd(Path() + "\\shown", "v3");
    RegAdd(Path() + "\\other", "w1");
    // The shown key's report comes after the write made first: a report of
    // the first key would have come with it.
    EXPECT_TRUE(WaitForRows(list, 2, 15000));
    PumpFor(50);
    EXPECT_EQ(list.GetFillCount(), fills + 1);
}

// OK hands over the selection as it is at that moment, after F5, a rename or
// a delete, and refuses a name the code page cannot carry exactly.
TEST_F(BrowserTest, OkHandsOverWhatIsSelectedNow)
{
    const std::wstring names[] = {L"c\\d", L"Renamed", L"\x0416", L"W\x0142odek", L"Wlodek", L"del"};
    for (const std::wstring& name : names)
        SetValueW(Path(), name, L"x");
    // Two keys that read alike in ANSI; only the plain one has a value.
    SetValueW(Path() + "\\WlodekKey", L"v", L"x");
    HKEY sub;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (WidenAnsi(Path()) + L"\\W\x0142odekKey").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &sub, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(sub);
    HTREEITEM item = ExpandTo(Path());
    ASSERT_NE(item, nullptr);
    m_browser.Tree().SelectItem(item);
    CRegistryListCtrl& list = m_browser.Values();
    const CString key = "HKEY_CURRENT_USER\\" + Path() + "\\";
    enum Step { STEP_NONE, STEP_F5, STEP_RENAME, STEP_DELETE };
    const struct
    {
        const wchar_t* selected;
        Step step;
        const char* handed; // after the key; null: refused with the message
        const char* refusal;
    } cases[] = {
        {L"c\\d", STEP_NONE, nullptr, "22810"},     {L"c\\d", STEP_F5, "", nullptr},
        {L"Renamed", STEP_RENAME, "", nullptr},     {L"Renamed2", STEP_NONE, "Renamed2", nullptr},
        {L"\x0416", STEP_NONE, nullptr, "22910"},   {L"W\x0142odek", STEP_NONE, nullptr, "22910"},
        {L"Wlodek", STEP_NONE, "Wlodek", nullptr}, {L"del", STEP_DELETE, "", nullptr},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        const auto& c = cases[i];
        int row = RowOfName(list, c.selected);
        ASSERT_GE(row, 0) << i;
        list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        const int fills = list.GetFillCount();
        if (c.step == STEP_F5) {
            list.FillValues();
        } else if (c.step == STEP_RENAME) {
            ASSERT_TRUE(list.RenameValue(c.selected, L"Renamed2"));
            ASSERT_TRUE(WaitForFill(list, fills));
        } else if (c.step == STEP_DELETE) {
            m_asker.answers.push_back(IDYES);
            list.DeleteSelectedValues();
        }
        m_asker.asked.clear();
        m_browser.m_strFullKey = "unset";
        m_browser.OnOK();
        if (c.handed) {
            EXPECT_EQ(m_browser.m_strFullKey, key + c.handed) << i;
            EXPECT_TRUE(m_asker.asked.empty()) << i;
        } else {
            EXPECT_EQ(m_browser.m_strFullKey, "unset") << i;
            EXPECT_TRUE(m_asker.Showed("Holberin", c.refusal)) << i;
        }
        list.SetItemState(-1, 0, LVIS_SELECTED);
    }
    // Of the two keys shown as "WlodekKey", the plain one lists its value and
    // is handed over; the other lists nothing of it and is refused.
    m_browser.Tree().Expand(item, TVE_EXPAND);
    int handed = 0, refused = 0;
    for (HTREEITEM child = m_browser.Tree().GetChildItem(item); child;
         child = m_browser.Tree().GetNextSiblingItem(child)) {
        if (m_browser.Tree().GetItemText(child) != "WlodekKey")
            continue;
        m_browser.Tree().SelectItem(child);
        m_asker.asked.clear();
        m_browser.m_strFullKey = "unset";
        m_browser.OnOK();
        if (m_browser.m_strFullKey == key + "WlodekKey\\") {
            ++handed;
            EXPECT_EQ(list.GetItemCount(), 1);
        } else {
            ++refused;
            EXPECT_EQ(m_browser.m_strFullKey, "unset");
            EXPECT_EQ(list.GetItemCount(), 0);
            EXPECT_TRUE(m_asker.Showed("Holberin", "22910"));
        }
    }
    EXPECT_EQ(handed, 1);
    EXPECT_EQ(refused, 1);
}

TEST_F(BrowserTest, NothingOfTheWatcherOutlivesTheDialog)
{
    m_browser.DestroyWindow();
    int before = ThreadCount();
    CRegEdit browser(m_frame);
    ASSERT_TRUE(browser.Create(CRegEdit::IDD, m_frame));
    browser.Values().SelectKey(HKEY_CURRENT_USER, Path() + "\\");
    ASSERT_NE(browser.Values().GetWatcherThread(), nullptr);
    EXPECT_GE(ThreadCount(), before + 1);
    browser.DestroyWindow();
    EXPECT_EQ(ThreadCount(), before);
    SetValue(Path(), "late", REG_SZ, "x", 2);
    PumpFor(300); // a late report would reach a destroyed window: nothing happens
    EXPECT_EQ(ThreadCount(), before);
}

TEST_F(BrowserTest, TheSecurityDatabaseIsNeverListed)
{
    Show(Path());
    CTreeCtrl& tree = m_browser.Tree();
    HTREEITEM hklm = tree.GetNextSiblingItem(tree.GetNextSiblingItem(tree.GetRootItem()));
    for (HTREEITEM c = tree.GetChildItem(hklm); c; c = tree.GetNextSiblingItem(c)) {
        if (tree.GetItemText(c) == "SECURITY") {
            tree.SelectItem(c);
            EXPECT_EQ(m_browser.Values().GetItemCount(), 0);
            EXPECT_EQ(m_browser.Values().GetRoot(), nullptr);
            return;
        }
    }
}
