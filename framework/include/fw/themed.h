// Bases of the themed look. For now they behave exactly like the plain
// framework classes; the themed layer replaces them without touching the
// programs, which already derive their frames, dialogs and menus from these.
#pragma once
#include "fw/menu.h"
#include "fw/dialog.h"
#include "fw/frame.h"

class FW_API CThemedMenu : public CMenu
{
public:
    // Sets the text of one item, by command id (MF_BYCOMMAND) or position
    // (MF_BYPOSITION), keeping the item's other state.
    virtual BOOL SetItemText(UINT nItem, CString strText, UINT nFlags);
};

class FW_API CThemedDialog : public CDialog
{
public:
    CThemedDialog() {}
    explicit CThemedDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr) : CDialog(nIDTemplate, pParentWnd) {}
    explicit CThemedDialog(const char* pszTemplateName, CWnd* pParentWnd = nullptr) : CDialog(pszTemplateName, pParentWnd) {}
};

template <class TBase>
class CThemedFrame : public TBase
{
};

class FW_API CThemedFrameWnd : public CThemedFrame<CFrameWnd>
{
};
