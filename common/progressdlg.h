// The progress dialog in which a cleaning run shows its result rows and its
// two bars, and the about box. Both paint the same colour gradient as their
// background. The template numbers differ by program: each program's .rc
// includes progressdlg.rc with its own PIRT_IDD_PROGRESS, and its code passes
// the same number (or defines PIRT_IDD_PROGRESS for the compiler too).
#pragma once
#include "fw/framework.h"

#ifndef PIRT_IDD_PROGRESS
#define PIRT_IDD_PROGRESS 0
#endif

// Caption used when [General] 40600 is missing ("" in the main cleaner).
#ifndef PIRT_PROGRESS_CAPTION_DEFAULT
#define PIRT_PROGRESS_CAPTION_DEFAULT ""
#endif

// Control ids of the progress template.
#define IDC_PROGRESS_OVERALL   1000
#define IDC_PROGRESS_OPERATION 1002
#define IDC_PROGRESS_REPORT    1018

// Fills the rectangle with the suite's background gradient, one column per
// pixel, from (202, 238, 255) at the left edge to about (254, 254, 226) at the
// right edge.
void PaintBackgroundGradient(HDC hdc, const RECT& client);

// The WM_ERASEBKGND answer of a window painted with the gradient: fills its
// client area and reports it erased.
BOOL EraseWithGradient(CWnd* wnd, CDC* pDC);

// Colour of column x of a gradient w pixels wide.
COLORREF GradientColour(int x, int w);

// The programs with themed frames build with PIRT_THEMED_PROGRESS_DIALOG and
// show it as a themed dialog; the eraser and the libraries, which never link
// the themed layer, show it plain.
#ifdef PIRT_THEMED_PROGRESS_DIALOG
#include "themedframe.h"
typedef CThemedDialog CProgressDlgBase;
#else
typedef CDialog CProgressDlgBase;
#endif

class CProgressDlg : public CProgressDlgBase
{
public:
    // captionDefault: the caption when [General] 40600 is missing ("not
    // found" in the recent-work cleaner and the eraser, "" in the main cleaner).
    explicit CProgressDlg(CWnd* pParent = nullptr, UINT nTemplate = PIRT_IDD_PROGRESS,
                          const char* captionDefault = PIRT_PROGRESS_CAPTION_DEFAULT);

    // Creates the dialog modeless; the run destroys it with DestroyWindow.
    BOOL CreateModeless(CWnd* pParent = nullptr);

    // The report list (1018), the per-operation bar (1002) and the overall
    // bar (1000), valid while the window exists.
    CListCtrl* GetReportList() { return &m_report; }
    CProgressCtrl* GetOperationBar() { return &m_operation; }
    CProgressCtrl* GetOverallBar() { return &m_overall; }

    // Readies the report list for a run: its one column and the row images
    // from the program's icons, in the order done, failed, working (the
    // REPORT_IMAGE_* indexes). The dialog keeps the images; the list shares
    // them and never destroys them.
    void SetUpReportList(const UINT (&rowIconIds)[3]);

    virtual BOOL OnInitDialog();

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

protected:
    UINT m_nTemplate;
    const char* m_captionDefault;
    CListCtrl m_report;
    CProgressCtrl m_operation;
    CProgressCtrl m_overall;
    CImageList m_reportIcons;

    DECLARE_MESSAGE_MAP()
};

// The progress dialog of a run: it cannot be closed while the run writes
// into its list (closing it mid-run would leave the run writing into a
// destroyed list); the run itself hides and destroys it at the end.
class CRunProgressDlg : public CProgressDlg
{
public:
    explicit CRunProgressDlg(CWnd* pParent = nullptr, UINT nTemplate = PIRT_IDD_PROGRESS,
                             const char* captionDefault = PIRT_PROGRESS_CAPTION_DEFAULT)
        : CProgressDlg(pParent, nTemplate, captionDefault)
    {
    }

    virtual BOOL OnInitDialog();
    virtual void OnOK() {}
    virtual void OnCancel() {}
};

// For WM_CTLCOLORSTATIC on the gradient: the text is drawn transparently and
// the hollow brush returned. With copyBackground, what the control shows now
// (the gradient behind it) is first copied into the paint DC, so new text
// does not leave the old one showing.
HBRUSH TransparentStaticBrush(CDC* pDC, CWnd* control, BOOL copyBackground);
