#include "PrefPages.h"
#include "fw/handle.h"
#include "services.h"
#include "language.h"
#include "startupcleaner.h"

namespace {
const char* const kPreferences = "Preferences";

void WriteYesNoKey(const char* key, int on, int iniIndex)
{
    ::WritePrivateProfileStringA(kPreferences, key, on ? "yes" : "no", GetIniPath(iniIndex));
}

// [Information] key of a language file, "N/A" when absent.
CString LanguageFileText(const CString& path, const char* key)
{
    char text[255] = "";
    ::GetPrivateProfileStringA("Information", key, "N/A", text, sizeof(text), path);
    return UnescapePercent(text);
}

// The folder pattern also matches short names: only real ".lng" names count.
BOOL IsLanguageFileName(const CString& name)
{
    return name.GetLength() > 4 && name.Right(4).CompareNoCase(".lng") == 0;
}
} // namespace

// ---- CGeneralPageBase ---------------------------------------------------------

BEGIN_MESSAGE_MAP(CGeneralPageBase, CPropertyPage)
    ON_BN_CLICKED(IDC_WINLAUNCH, OnChanged)
    ON_BN_CLICKED(IDC_CLOSEAFTERKILL, OnChanged)
    ON_BN_CLICKED(IDC_LOGGING, OnChanged)
END_MESSAGE_MAP()

CGeneralPageBase::CGeneralPageBase(UINT templateId, int iniIndex, const char* runValueName,
                                   const char* startTextSection, const char* startTextKey)
    : CPropertyPage(templateId), m_bStartWithWindows(0), m_bCloseAfterKill(0), m_loggingEnabled(0),
      m_iniIndex(iniIndex), m_runValueName(runValueName), m_startTextSection(startTextSection),
      m_startTextKey(startTextKey)
{
}

void CGeneralPageBase::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_WINLAUNCH, m_bStartWithWindows);
    DDX_Check(pDX, IDC_CLOSEAFTERKILL, m_bCloseAfterKill);
    DDX_Check(pDX, IDC_LOGGING, m_loggingEnabled);
}

BOOL CGeneralPageBase::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    SetDlgItemLngText(m_hWnd, IDC_WINLAUNCH, m_startTextSection, m_startTextKey);
    SetDlgItemLngText(m_hWnd, IDC_CLOSEAFTERKILL, "General", "30410");
    SetDlgItemLngText(m_hWnd, IDC_LOGGING, "General", "30415");
    m_bStartWithWindows = IsRunSwitchOn(m_iniIndex, "StartWithWindows", m_runValueName);
    m_bCloseAfterKill = GetIniBool(kPreferences, "CloseAfterKill", m_iniIndex);
    m_loggingEnabled = ReadLogging();
    UpdateData(FALSE);
    return TRUE;
}

void CGeneralPageBase::OnChanged() { SetModified(TRUE); }

void CGeneralPageBase::OnOK()
{
    UpdateData(TRUE);
    // Without the Run key neither the switch nor the value is touched.
    StoreStartWithWindows(m_iniIndex, m_runValueName, m_bStartWithWindows);
    WriteYesNoKey("CloseAfterKill", m_bCloseAfterKill, m_iniIndex);
    WriteLogging(m_loggingEnabled);
    CPropertyPage::OnOK();
}

// ---- CPropPageSecurity -----------------------------------------------------------

BEGIN_MESSAGE_MAP(CPropPageSecurity, CPropertyPage)
    ON_BN_CLICKED(IDC_CONFIRM_DELETE, OnChanged)
END_MESSAGE_MAP()

CPropPageSecurity::CPropPageSecurity(UINT templateId, int iniIndex)
    : CPropertyPage(templateId), m_bConfirmDelete(0), m_iniIndex(iniIndex)
{
}

void CPropPageSecurity::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_CONFIRM_DELETE, m_bConfirmDelete);
}

BOOL CPropPageSecurity::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    SetDlgItemLngText(m_hWnd, IDC_CONFIRM_DELETE, "General", "30500");
    LoadSettings();
    return TRUE;
}

void CPropPageSecurity::LoadSettings()
{
    m_bConfirmDelete = GetIniBool(kPreferences, "SecurityDelConfirm", m_iniIndex);
    UpdateData(FALSE);
}

void CPropPageSecurity::OnChanged() { SetModified(TRUE); }

void CPropPageSecurity::OnOK()
{
    UpdateData(TRUE);
    WriteYesNoKey("SecurityDelConfirm", m_bConfirmDelete, m_iniIndex);
    CPropertyPage::OnOK();
}

// ---- CPropPageLanguage -----------------------------------------------------------

BEGIN_MESSAGE_MAP(CPropPageLanguage, CPropertyPage)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_LANGUAGE_LIST, OnItemChanged)
END_MESSAGE_MAP()

CPropPageLanguage::CPropPageLanguage(UINT templateId) : CPropertyPage(templateId), m_bFilling(FALSE) {}

void CPropPageLanguage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LANGUAGE_LIST, m_list);
}

BOOL CPropPageLanguage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_bFilling = TRUE;
    SetupColumns();
    FillLanguageList();
    SetDlgItemLngText(m_hWnd, IDC_PLZ_SEL_LNG, "General", "30710");
    SelectCurrentLanguage();
    m_bFilling = FALSE;
    return TRUE;
}

void CPropPageLanguage::SetupColumns()
{
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    m_list.InsertColumn(0, GetLngString("General", "30730"), LVCFMT_LEFT, 185);
    m_list.InsertColumn(1, GetLngString("General", "30230"), LVCFMT_LEFT, 185);
    m_list.InsertColumn(2, "Path", LVCFMT_LEFT, 0);
}

void CPropPageLanguage::FillLanguageList()
{
    // The user's own files first: a name listed once is not listed again.
    AddLanguageFiles(GetUserDataFolder("\\Talvery\\Pirt\\languages"));
    AddLanguageFiles(GetProgramSubfolder("\\languages"));
}

void CPropPageLanguage::AddLanguageFiles(const CString& folder)
{
    if (folder.IsEmpty())
        return; // no folder: nothing is listed from the root of the drive
    WIN32_FIND_DATAA data;
    CFindHandle find(::FindFirstFileA(folder + "\\*.lng", &data));
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        CString name(data.cFileName);
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsLanguageFileName(name))
            continue;
        CString path = folder + "\\" + name;
        CString english = LanguageFileText(path, "LngEnglish");
        LVFINDINFOA listed;
        ZeroMemory(&listed, sizeof(listed));
        listed.flags = LVFI_STRING;
        listed.psz = english;
        if ((int)m_list.SendMessage(LVM_FINDITEMA, (WPARAM)-1, (LPARAM)&listed) >= 0)
            continue;
        // The sorted list places the row: its columns go where it landed.
        int row = m_list.InsertItem(m_list.GetItemCount(), english);
        if (row < 0)
            continue;
        m_list.SetItemText(row, 1, LanguageFileText(path, "Language"));
        m_list.SetItemText(row, 2, path);
    } while (::FindNextFileA(find, &data));
}

void CPropPageLanguage::SelectCurrentLanguage()
{
    CString current = GetChosenLanguage();
    if (current.IsEmpty())
        return;
    LVFINDINFOA find;
    ZeroMemory(&find, sizeof(find));
    find.flags = LVFI_STRING;
    find.psz = current;
    int row = (int)m_list.SendMessage(LVM_FINDITEMA, (WPARAM)-1, (LPARAM)&find);
    if (row < 0)
        return;
    m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.EnsureVisible(row, FALSE);
    m_shownName = m_list.GetItemText(row, 0);
    m_shownPath = m_list.GetItemText(row, 2);
}

void CPropPageLanguage::OnItemChanged(NMHDR*, LRESULT* pResult)
{
    if (!m_bFilling)
        SetModified(TRUE);
    *pResult = 0;
}

void CPropPageLanguage::OnOK()
{
    int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row >= 0) {
        CString name = m_list.GetItemText(row, 0);
        CString path = m_list.GetItemText(row, 2);
        // The row shown at the start may name another file of the same
        // language (the user's own copy): left alone, the choice stays as
        // it is stored. A row without a file would leave every text empty.
        if (!path.IsEmpty() && (name != m_shownName || path != m_shownPath)) {
            WriteLanguageChoice(name, path);
            m_shownName = name;
            m_shownPath = path;
        }
    }
    CPropertyPage::OnOK();
}

// ---- language choice ------------------------------------------------------------------

void WriteLanguageChoice(const CString& language, const CString& lngPath)
{
    static const char* const kConfigFolders[] = {"\\Zex\\Ulmoro\\config", "\\Talvery\\Pirt\\config"};
    for (const char* config : kConfigFolders) {
        CString folder = GetUserDataFolder(config);
        if (folder.IsEmpty())
            return;
        CreateFullPath(folder);
        CString ini = folder + "\\Pirt.ini";
        ::WritePrivateProfileStringA("Pirt", "Language", EscapePercent(language), ini);
        ::WritePrivateProfileStringA("Pirt", "LngPath", EscapePercent(lngPath), ini);
    }
}
