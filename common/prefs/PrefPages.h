// Preferences pages shared by the main cleaner and the recent-work cleaner:
// the base of each program's general page (start with Windows, close after a
// run, logging), the confirmation page and the language page; the sheet
// around them is prefsheet.h's. The template numbers differ by program: each
// program's .rc includes prefpages.rc with its own numbers and passes the same
// numbers to the page constructors.
#pragma once
#include "fw/framework.h"
#include "prefsheet.h"

// Control ids of the shared templates.
#define IDC_WINLAUNCH      1074
#define IDC_CLOSEAFTERKILL 1075
#define IDC_LOGGING        1008
#define IDC_CONFIRM_DELETE 1033
#define IDC_LANGUAGE_LIST  1018
#define IDC_PLZ_SEL_LNG    1012

// The general page: start with Windows (the program's own Run value), close
// after a run and the program's logging switch, all in [Preferences] of the
// program's config file. The logging keys differ by program.
class CGeneralPageBase : public CPropertyPage
{
public:
    // startText: section and key of the start-with-Windows box's text.
    CGeneralPageBase(UINT templateId, int iniIndex, const char* runValueName, const char* startTextSection,
                     const char* startTextKey);

    int m_bStartWithWindows;
    int m_bCloseAfterKill;
    int m_loggingEnabled;

protected:
    virtual int ReadLogging() const = 0;
    virtual void WriteLogging(int on) = 0;

    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;
    afx_msg void OnChanged();

    int m_iniIndex;
    const char* m_runValueName;
    const char* m_startTextSection;
    const char* m_startTextKey;

    DECLARE_MESSAGE_MAP()
};

// The confirmation before a run: [Preferences] SecurityDelConfirm.
class CPropPageSecurity : public CPropertyPage
{
public:
    CPropPageSecurity(UINT templateId, int iniIndex);

    int m_bConfirmDelete;

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;
    afx_msg void OnChanged();
    void LoadSettings();

    int m_iniIndex;

    DECLARE_MESSAGE_MAP()
};

// The language of the texts: every language file of the user's
// "\Talvery\Pirt\languages" folder and of the program folder's "languages",
// one row per language name (the user's file wins), and the choice written
// into the suite INI of both data roots.
class CPropPageLanguage : public CPropertyPage
{
public:
    explicit CPropPageLanguage(UINT templateId);

    CListCtrl m_list;

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;
    afx_msg void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);

    void SetupColumns();
    void FillLanguageList();
    void AddLanguageFiles(const CString& folder);
    void SelectCurrentLanguage();

    BOOL m_bFilling;
    // The row shown as the current choice (name and file): written again
    // only when another row is chosen.
    CString m_shownName;
    CString m_shownPath;

    DECLARE_MESSAGE_MAP()
};

// Writes [Pirt] Language and LngPath into the suite INI of both data roots
// ("\Zex\Ulmoro" and "\Talvery\Pirt"): the deletion library reads its texts
// through its own root.
void WriteLanguageChoice(const CString& language, const CString& lngPath);
