// CCmdUI: the state of one user-interface item (menu item or control) while
// its ON_UPDATE_COMMAND_UI handler decides whether it is enabled or checked.
#pragma once
#include "fw/wnd.h"

class FW_API CCmdUI
{
public:
    CCmdUI();
    virtual ~CCmdUI() {}

    UINT m_nID;
    UINT m_nIndex;     // position of the item in m_pMenu
    UINT m_nIndexMax;  // item count of m_pMenu
    CMenu* m_pMenu;    // the menu holding the item, or null
    CMenu* m_pSubMenu; // the popup the item opens, or null
    CMenu* m_pParentMenu;
    CWnd* m_pOther;        // the control holding the item, or null
    BOOL m_bEnableChanged; // set by Enable
    BOOL m_bContinueRouting;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1); // 0 unchecked, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(const char* pszText);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's update handler; without one, the item is disabled when
    // bDisableIfNoHandler is set and no command handler exists either.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
};

// TRUE unless an update handler of pTarget disables command nID.
FW_API BOOL FwIsCommandEnabled(CCmdTarget* pTarget, UINT nID);
