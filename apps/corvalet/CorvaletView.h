// CCorvaletView: the header form in the left pane: the plug-in's name,
// version, provider and description, and the add, properties and delete
// buttons (which run the frame's commands).
#pragma once
#include "fw/framework.h"
#include "xStatic.h"

class CCorvaletList;

// Messages of the builder's windows.
#define WM_PLUGIN_COUNT    (WM_USER + 256) // frame: show the row count
#define WM_PLUGIN_CLEAR    (WM_USER + 261) // form: empty the four edits
#define WM_PLUGIN_MODIFIED (WM_USER + 272) // frame: the document changed

class CCorvaletView : public CView
{
    DECLARE_DYNCREATE(CCorvaletView)
public:
    CCorvaletView();
    virtual ~CCorvaletView();

    CString GetPlugInName() const { return EditText(m_name); }
    CString GetPlugInVersion() const { return EditText(m_version); }
    CString GetPlugInProvider() const { return EditText(m_provider); }
    CString GetPlugInDescription() const { return EditText(m_description); }
    // Filling the form is no change by the user: it does not mark the
    // document modified.
    void SetPlugInName(const char* psz) { SetEditText(m_name, psz); }
    void SetPlugInVersion(const char* psz) { SetEditText(m_version, psz); }
    void SetPlugInProvider(const char* psz) { SetEditText(m_provider, psz); }
    void SetPlugInDescription(const char* psz) { SetEditText(m_description, psz); }

    void SetList(CCorvaletList* pList) { m_pList = pList; }
    CCorvaletList* GetList() const { return m_pList; }
    CEdit& DescriptionEdit() { return m_description; }
    CButton& PropertiesButton() { return m_properties; }
    CButton& DeleteButton() { return m_delete; }

    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void OnDraw(CDC* pDC);

protected:
    static CString EditText(const CEdit& edit);
    void SetEditText(CEdit& edit, const char* psz);

    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnEditChange(UINT nID);
    afx_msg LRESULT OnClear(WPARAM, LPARAM);

    CCorvaletList* m_pList;
    CButton m_add, m_properties, m_delete;
    CEdit m_name, m_version, m_provider, m_description;
    CxStatic m_labels[4];
    BOOL m_bFilling;

    DECLARE_MESSAGE_MAP()
};
