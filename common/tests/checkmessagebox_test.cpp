// CheckMessageBox: labels and ids of the built template, the result with and
// without the tick, and what Escape does for each kind of box.
#include <gtest/gtest.h>
#include "pirt.h"
#include "checkmessagebox.h"
#include "testsupport.h"
#include "textfit.h"
#include <string>
#include <vector>
#include <memory>

using namespace pirt_test;

namespace {

// What the timer does once the box is up: each step runs on one tick.
struct BoxScript
{
    const char* caption;
    bool tick;           // tick the check box first
    int pressId;         // button to press (0: none)
    bool escapeFirst;    // send Escape, then press on the next tick
    const char* picture; // save a picture of the box under this name
    // observations
    HWND box;
    std::vector<std::pair<int, std::string>> controls;
    bool aliveAfterEscape;
    int step;
    std::vector<std::string> cutOff; // controls whose text does not fit
    RECT boxRect;
};

BoxScript g_script;

std::string TextOf(HWND w)
{
    char buf[512] = "";
    GetWindowTextA(w, buf, sizeof(buf));
    return buf;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM)
{
    g_script.controls.push_back(std::make_pair(GetDlgCtrlID(child), TextOf(child)));
    return TRUE;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = FindWindowA("#32770", g_script.caption);
    if (!box)
        return;
    g_script.box = box;
    if (g_script.step == 0) {
        EnumChildWindows(box, CollectChild, 0);
        g_script.cutOff = CutTexts(box);
        GetWindowRect(box, &g_script.boxRect);
        if (g_script.picture)
            SaveWindowPicture(box, ScreenshotPath(g_script.picture));
        if (g_script.tick)
            SendMessageA(GetDlgItem(box, IDC_CHECKBOX_MSG), BM_CLICK, 0, 0);
        if (g_script.escapeFirst) {
            HWND target = GetWindow(box, GW_CHILD);
            for (HWND c = target; c; c = GetWindow(c, GW_HWNDNEXT))
                if (GetDlgCtrlID(c) == g_script.pressId)
                    target = c;
            PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0);
            g_script.step = 1;
            return;
        }
    } else {
        g_script.aliveAfterEscape = IsWindow(box) != FALSE;
    }
    KillTimer(nullptr, id);
    if (g_script.pressId)
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(g_script.pressId, BN_CLICKED),
                     (LPARAM)GetDlgItem(box, g_script.pressId));
}

int RunBox(const char* text, const char* caption, UINT type, bool tick, int pressId, bool escapeFirst = false,
           const char* picture = nullptr)
{
    g_script = BoxScript();
    g_script.picture = picture;
    g_script.caption = (caption && *caption) ? caption : "Error";
    g_script.tick = tick;
    g_script.pressId = pressId;
    g_script.escapeFirst = escapeFirst;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, OnTick);
    int result = CheckMessageBox(nullptr, text, caption, type | MB_NO_SOUND);
    KillTimer(nullptr, timer);
    return result;
}

std::string ControlText(int id)
{
    for (size_t i = 0; i < g_script.controls.size(); ++i)
        if (g_script.controls[i].first == id)
            return g_script.controls[i].second;
    return "<missing>";
}

class CheckMessageBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetDataRoots();
        m_folder.reset(new CScratchFolder("checkmsgbox"));
        m_lng = (*m_folder)("Test.lng");
        WriteFileText(m_lng, "[General]\r\n30020=Yes-T\r\n30030=No-T\r\n40630=Never again-T\r\n");
        WritePrivateProfileStringA("Pirt", "LngPath", m_lng, GetIniPath(INI_PIRT));
    }
    void TearDown() override
    {
        m_folder.reset();
        ResetDataRoots();
    }
    std::unique_ptr<CScratchFolder> m_folder;
    CString m_lng;
};

} // namespace

TEST_F(CheckMessageBoxTest, YesNoBoxCarriesLanguageLabelsIdsAndCheckBox)
{
    int r = RunBox("Remove the traces?", "Box labels", 0x1000024, false, IDYES);
    EXPECT_EQ(IDYES, r);
    EXPECT_EQ("Yes-T", ControlText(IDYES));
    EXPECT_EQ("No-T", ControlText(IDNO));
    EXPECT_EQ("Never again-T", ControlText(IDC_CHECKBOX_MSG));
    EXPECT_EQ("Remove the traces?", ControlText(IDC_TEXT_MSG));
    EXPECT_EQ("<missing>", ControlText(IDCANCEL));
    EXPECT_EQ("<missing>", ControlText(IDOK));
}

TEST_F(CheckMessageBoxTest, ResultCarriesTheTickWithThePressedButton)
{
    EXPECT_EQ(0x1000000 + IDYES, RunBox("q", "Tick yes", 0x1000024, true, IDYES));
    EXPECT_EQ(IDYES, RunBox("q", "No tick yes", 0x1000024, false, IDYES));
    EXPECT_EQ(0x1000000 + IDNO, RunBox("q", "Tick no", 0x1000024, true, IDNO));
    EXPECT_EQ(IDNO, RunBox("q", "No tick no", 0x1000024, false, IDNO));
    // The other two check boxes report their own bits and fixed labels.
    EXPECT_EQ(0x2000000 + IDOK, RunBox("q", "Tell", MB_OK | MB_DONT_TELL_AGAIN, true, IDOK));
    EXPECT_EQ("Don't tell me again", ControlText(IDC_CHECKBOX_MSG));
    EXPECT_EQ(0x4000000 + IDOK, RunBox("q", "Show", MB_OK | MB_DONT_SHOW_AGAIN, true, IDOK));
    EXPECT_EQ("Don't show again", ControlText(IDC_CHECKBOX_MSG));
}

TEST_F(CheckMessageBoxTest, WithoutCheckBoxBitThereIsNoCheckBox)
{
    EXPECT_EQ(IDNO, RunBox("q", "Plain", MB_YESNO | MB_ICONQUESTION, false, IDNO));
    EXPECT_EQ("<missing>", ControlText(IDC_CHECKBOX_MSG));
}

TEST_F(CheckMessageBoxTest, NullOrEmptyCaptionShowsError)
{
    EXPECT_EQ(IDYES, RunBox("q", nullptr, 0x1000024, false, IDYES));
    ASSERT_NE((HWND) nullptr, g_script.box);
    EXPECT_EQ(IDNO, RunBox("q", "", 0x1000024, false, IDNO));
    ASSERT_NE((HWND) nullptr, g_script.box);
}

TEST_F(CheckMessageBoxTest, MissingYesLabelLeavesAWorkingButton)
{
    WriteFileText(m_lng, "[General]\r\n30030=No-T\r\n");
    EXPECT_EQ(IDYES, RunBox("q", "No label", 0x1000024, false, IDYES));
    EXPECT_EQ("", ControlText(IDYES));
}

TEST_F(CheckMessageBoxTest, EscapeFollowsTheButtonsOfTheBox)
{
    // Yes/No: Escape is ignored, the box stays until a button is pressed.
    EXPECT_EQ(IDNO, RunBox("q", "Esc yesno", 0x1000024, false, IDNO, true));
    EXPECT_TRUE(g_script.aliveAfterEscape);
    // OK/Cancel: Escape is Cancel.
    EXPECT_EQ(IDCANCEL, RunBox("q", "Esc okcancel", MB_OKCANCEL, false, 0, true));
    // A lone OK: Escape is OK.
    EXPECT_EQ(IDOK, RunBox("q", "Esc ok", MB_OK, false, 0, true));
}

TEST_F(CheckMessageBoxTest, ButtonsFollowTheSystemOrder)
{
    RunBox("q", "Order", MB_YESNOCANCEL, false, IDCANCEL);
    ASSERT_EQ("Yes-T", ControlText(IDYES));
    EXPECT_EQ("Cancel", ControlText(IDCANCEL));
    EXPECT_EQ(IDRETRY, RunBox("q", "Retry", MB_RETRYCANCEL, false, IDRETRY));
    EXPECT_EQ("&Retry", ControlText(IDRETRY));
    EXPECT_EQ(IDCONTINUE, RunBox("q", "Cont", MB_CANCELTRYCONTINUE, false, IDCONTINUE));
    EXPECT_EQ("&Try Again", ControlText(IDTRYAGAIN));
    // Children come back in template order: the buttons in the system's order.
    std::vector<int> ids;
    for (size_t i = 0; i < g_script.controls.size(); ++i)
        if (g_script.controls[i].first < 100)
            ids.push_back(g_script.controls[i].first);
    ASSERT_EQ(3u, ids.size());
    EXPECT_EQ(IDCANCEL, ids[0]);
    EXPECT_EQ(IDTRYAGAIN, ids[1]);
    EXPECT_EQ(IDCONTINUE, ids[2]);
}

// The box grows to hold its texts: every control shows its whole text in the
// dialog's font, and a long unbroken text is wrapped rather than widening the
// box off the screen.
TEST_F(CheckMessageBoxTest, EveryControlHoldsItsWholeText)
{
    WriteFileText(m_lng, "[General]\r\n30020=&Yes\r\n30030=&No\r\n40630=Don't ask me again\r\n");
    const std::string unbroken(400, 'W');
    const struct
    {
        const char* name;
        std::string text;
    } messages[] = {
        {"one line", "Do you really want to remove the selected traces now?"},
        {"three lines", "The selected traces are removed.\nThis cannot be undone.\nGo on?"},
        {"unbroken", unbroken},
    };
    for (const auto& m : messages) {
        for (UINT check : {0u, (UINT)MB_DONT_ASK_AGAIN}) {
            SCOPED_TRACE(std::string(m.name) + (check ? " with check box" : ""));
            EXPECT_EQ(IDNO, RunBox(m.text.c_str(), "Fit", MB_YESNO | MB_ICONQUESTION | check, false, IDNO));
            ASSERT_NE((HWND) nullptr, g_script.box);
            EXPECT_EQ(check ? 5u : 4u, g_script.controls.size()); // icon, text, Yes, No
            EXPECT_TRUE(g_script.cutOff.empty()) << g_script.cutOff.front();
            EXPECT_LE(g_script.boxRect.right - g_script.boxRect.left, GetSystemMetrics(SM_CXSCREEN));
        }
    }
    // The programs' own questions in each shipped language; the main
    // cleaner's kept as a picture of the run.
    const struct
    {
        const char* section;
        const char* key;
        const char* picture;
    } questions[] = {
        {"Brisvane", "50000", "confirmation_box"}, {"Eraser", "10400", nullptr}, {"Farnoch", "25040", nullptr}};
    for (const char* language : kShippedLanguages) {
        ChooseLanguage(GetIniPath(INI_PIRT), language);
        for (const auto& q : questions) {
            SCOPED_TRACE(std::string(language) + " " + q.section);
            const CString text = GetLngString(q.section, q.key);
            ASSERT_FALSE(text.IsEmpty());
            const std::string picture = q.picture ? std::string(q.picture) + "-" + language + ".bmp" : "";
            EXPECT_EQ(IDNO, RunBox(text, "Confirm", MB_YESNO | MB_ICONQUESTION | MB_DONT_ASK_AGAIN, false, IDNO, false,
                                   q.picture ? picture.c_str() : nullptr));
            EXPECT_EQ(std::vector<std::string>(), g_script.cutOff);
        }
    }
}
