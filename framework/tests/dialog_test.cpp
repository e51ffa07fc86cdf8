#include "fw/framework.h"
#include "fwtest.h"
#include <gtest/gtest.h>
#include <vector>
#include <cstring>

namespace {
enum { IDC_EDIT = 1001, IDC_BUTTON = 1002, IDC_CHECK = 1003 };

// Builds a dialog template in memory: an edit, a push button, a check box, OK.
class TemplateBuilder
{
public:
    TemplateBuilder(const char* title, short cx, short cy)
    {
        DLGTEMPLATE t = {};
        t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
        t.cx = cx;
        t.cy = cy;
        Append(&t, sizeof(t));
        m_countOffset = offsetof(DLGTEMPLATE, cdit);
        Word(0); // no menu
        Word(0); // default class
        Text(title);
        Word(8); // font size
        Text("MS Shell Dlg");
    }
    void Item(WORD classAtom, const char* text, DWORD style, WORD id, short x, short y, short cx, short cy)
    {
        while (m_bytes.size() % 4)
            m_bytes.push_back(0);
        DLGITEMTEMPLATE it = {};
        it.style = style | WS_CHILD | WS_VISIBLE;
        it.x = x;
        it.y = y;
        it.cx = cx;
        it.cy = cy;
        it.id = id;
        Append(&it, sizeof(it));
        Word(0xFFFF);
        Word(classAtom);
        Text(text);
        Word(0);
        WORD* count = (WORD*)&m_bytes[m_countOffset];
        ++*count;
    }
    const DLGTEMPLATE* Get()
    {
        while (m_bytes.size() % 4)
            m_bytes.push_back(0);
        return (const DLGTEMPLATE*)m_bytes.data();
    }

private:
    void Append(const void* p, size_t n) { m_bytes.insert(m_bytes.end(), (const BYTE*)p, (const BYTE*)p + n); }
    void Word(WORD w) { Append(&w, sizeof(w)); }
    void Text(const char* s)
    {
        while (*s)
            Word((WORD)(BYTE)*s++);
        Word(0);
    }
    std::vector<BYTE> m_bytes;
    size_t m_countOffset;
};

const DLGTEMPLATE* TestTemplate()
{
    static TemplateBuilder* b = nullptr;
    if (!b) {
        b = new TemplateBuilder("Test dialog", 200, 100);
        b->Item(0x0081, "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, IDC_EDIT, 5, 5, 100, 12);
        b->Item(0x0080, "Press", BS_PUSHBUTTON | WS_TABSTOP, IDC_BUTTON, 5, 25, 50, 14);
        b->Item(0x0080, "Check", BS_AUTOCHECKBOX | WS_TABSTOP, IDC_CHECK, 5, 45, 50, 14);
        b->Item(0x0080, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 140, 80, 50, 14);
    }
    return b->Get();
}

class CTestDlg : public CDialog
{
public:
    CString m_text = "initial";
    int m_check = 1;
    CEdit m_edit;
    int inits = 0, clicks = 0, changes = 0, oks = 0;
    UINT m_endWith = 0; // posted from OnInitDialog to end a modal run

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ++inits;
        if (m_endWith)
            PostMessage(WM_COMMAND, MAKEWPARAM(m_endWith, BN_CLICKED), 0);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_EDIT, m_edit);
        DDX_Text(pDX, IDC_EDIT, m_text);
        DDX_Check(pDX, IDC_CHECK, m_check);
    }
    void OnOK() override
    {
        ++oks;
        CDialog::OnOK();
    }
    afx_msg void OnButton() { ++clicks; }
    afx_msg void OnEditChange() { ++changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
    ON_BN_CLICKED(IDC_BUTTON, OnButton)
    ON_EN_CHANGE(IDC_EDIT, OnEditChange)
END_MESSAGE_MAP()
} // namespace

TEST(CDialogTest, ModelessFromMemoryTemplateRunsAndEnds)
{
    CTestDlg dlg;
    ASSERT_TRUE(dlg.CreateIndirect(TestTemplate()));
    EXPECT_EQ(1, dlg.inits);
    ASSERT_NE(nullptr, dlg.m_edit.m_hWnd); // bound by data exchange
    CString shown;
    dlg.GetDlgItemText(IDC_EDIT, shown);
    EXPECT_STREQ("initial", shown);
    EXPECT_EQ(1u, dlg.IsDlgButtonChecked(IDC_CHECK));

    int changesBefore = dlg.changes;
    dlg.m_edit.SetWindowText("typed");
    EXPECT_GT(dlg.changes, changesBefore);
    dlg.SendDlgItemMessage(IDC_BUTTON, BM_CLICK);
    EXPECT_EQ(1, dlg.clicks);
    dlg.CheckDlgButton(IDC_CHECK, BST_UNCHECKED);

    dlg.ShowWindow(SW_SHOW);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(1, dlg.oks);
    EXPECT_STREQ("typed", dlg.m_text); // collected by OnOK
    EXPECT_EQ(0, dlg.m_check);
    EXPECT_FALSE(dlg.IsWindowVisible()); // ended
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(nullptr, dlg.m_edit.m_hWnd);
}

TEST(CDialogTest, ModalRunReturnsTheEndCode)
{
    CTestDlg dlg;
    dlg.m_endWith = IDOK;
    dlg.m_text = "modal";
    ASSERT_TRUE(dlg.InitModalIndirect(TestTemplate()));
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(1, dlg.oks);
    EXPECT_STREQ("modal", dlg.m_text);
    EXPECT_EQ(nullptr, dlg.m_hWnd);

    CTestDlg cancelled;
    cancelled.m_endWith = IDCANCEL;
    cancelled.InitModalIndirect(TestTemplate());
    EXPECT_EQ(IDCANCEL, cancelled.DoModal());
    EXPECT_EQ(0, cancelled.oks);

    // A template that is not there fails instead of showing anything.
    CDialog missing(4711);
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_FALSE(missing.Create(4711));
}
