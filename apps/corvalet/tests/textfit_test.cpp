// Every text of the plug-in builder's header form and dialogs is shown whole,
// in each shipped language, and the form keeps its layout from start to start.
#include "corvalet_fixture.h"
#include "EditorDlg.h"
#include "RegEdit.h"
#include "aboutdlg.h"
#include "textfit.h"

using namespace pirt_test;

namespace {
typedef std::vector<std::string> Cut;

class CorvaletTextFitTest : public CorvaletTest
{
protected:
    // The editor on a row of the kind, as Properties opens it.
    Cut EditorCut(const char* path, const char* kind, const char* action, const char* detail)
    {
        AddRow(path, kind, action, detail);
        CEditorDlg editor(m_frame);
        editor.m_pList = List();
        editor.m_bEditMode = TRUE;
        editor.m_nRow = List()->GetRowCount() - 1;
        editor.m_strRowPath = path;
        editor.m_strRowKind = kind;
        editor.m_strRowAction = action;
        editor.m_strRowDetail = detail;
        EXPECT_TRUE(editor.Create(CEditorDlg::IDD, m_frame));
        Cut cut = CutTexts(editor.m_hWnd);
        editor.DestroyWindow();
        return cut;
    }
    int DescriptionHeight()
    {
        CRect rect;
        Form()->DescriptionEdit().GetWindowRect(&rect);
        return rect.Height();
    }
    int FormBottomMargin()
    {
        CRect rect, form;
        Form()->DescriptionEdit().GetWindowRect(&rect);
        Form()->ScreenToClient(&rect);
        Form()->GetClientRect(&form);
        return form.bottom - rect.bottom;
    }
};
} // namespace

TEST_F(CorvaletTextFitTest, FormAndDialogsShowTheirTextsWhole)
{
    for (const char* language : kShippedLanguages) {
        SCOPED_TRACE(language);
        ChooseLanguage(GetIniPath(INI_PIRT), language);
        StartApp();
        Form()->SetPlugInName("ProjectX Player");
        Form()->SetPlugInVersion("2.4 (July)");
        Form()->SetPlugInProvider("Quigley & Gray");
        Form()->SetPlugInDescription("Removes the recently played list of ProjectX Player.");
        EXPECT_EQ(Cut(), CutTexts(Form()->m_hWnd)) << "header form";
        m_frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        SaveWindowPicture(m_frame->m_hWnd, ScreenshotPath((std::string("corvalet-form-") + language + ".bmp").c_str()));

        EXPECT_EQ(Cut(), EditorCut("C:\\Users\\Public\\Documents\\ProjectX\\player.ini", "File", "EraseMatch",
                                   "Recent Files,File1"))
            << "editor, file";
        EXPECT_EQ(Cut(), EditorCut("C:\\Users\\Public\\Documents\\ProjectX\\Cache", "Folder", "DeleteMatch", "tmp"))
            << "editor, folder";
        EXPECT_EQ(Cut(),
                  EditorCut("HKEY_CURRENT_USER\\Software\\ProjectX\\Player\\", "ValueList", "DeleteMatch", "Recent"))
            << "editor, registry";
        // The item list, with the rows the editors were opened on.
        EXPECT_EQ(Cut(), CutTexts(m_frame->m_hWnd)) << "main window";

        CRegEdit browser(m_frame);
        ASSERT_TRUE(browser.Create(CRegEdit::IDD, m_frame));
        browser.Values().SelectKey(HKEY_CURRENT_USER, "Software\\");
        PumpFor(100);
        EXPECT_EQ(Cut(), CutTexts(browser.m_hWnd)) << "registry browser";
        browser.DestroyWindow();

        CAboutDlg about;
        ASSERT_TRUE(about.Create(CAboutDlg::IDD, nullptr));
        EXPECT_EQ(Cut(), CutTexts(about.m_hWnd)) << "about box";
        about.DestroyWindow();
        CloseApp();
    }
}

// The description box reaches down to the form's bottom margin, also when the
// window comes back at a stored place and size.
TEST_F(CorvaletTextFitTest, TheDescriptionFollowsTheFormOnEveryStart)
{
    StartApp();
    m_frame->MoveWindow(40, 30, 800, 700);
    PumpFor(50);
    const int laidOut = DescriptionHeight();
    EXPECT_EQ(20, FormBottomMargin());
    EXPECT_GT(laidOut, 200);
    m_frame->SendMessage(WM_CLOSE); // stores the placement
    CloseApp();
    StartApp();
    CRect frame;
    m_frame->GetWindowRect(&frame);
    ASSERT_EQ(CRect(40, 30, 840, 730), frame);
    EXPECT_EQ(laidOut, DescriptionHeight());
    EXPECT_EQ(20, FormBottomMargin());
}
