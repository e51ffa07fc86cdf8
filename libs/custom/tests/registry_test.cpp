// Registry keys and values, by name and by match.
#include "customtest.h"
#include "fw/handle.h"
#include <sddl.h>
#include <functional>
#include <string>

namespace {

const CString kHkcu = "HKEY_CURRENT_USER\\";

bool KeyExists(const CString& path)
{
    CRegKeyHandle key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return false;
    return true;
}

void MakeKey(const CString& path)
{
    CRegKeyHandle key;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                               key.Receive(), nullptr));
}

void SetValue(const CString& path, const CString& name, const char* data = "x")
{
    CRegKeyHandle key;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                               key.Receive(), nullptr));
    ::RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)data, (DWORD)strlen(data) + 1);
}

bool ValueExists(const CString& path, const CString& name)
{
    CRegKeyHandle key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return false;
    LONG rc = ::RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr);
    return rc == ERROR_SUCCESS;
}

// Gives the key a DACL that grants reading only, so that it cannot be opened
// for writing; the destructor gives full access back.
class CReadOnlyKey
{
public:
    explicit CReadOnlyKey(const CString& path) : m_path(path) { Apply("D:P(A;OICI;KR;;;WD)"); }
    ~CReadOnlyKey() { Apply("D:P(A;OICI;KA;;;WD)"); }

private:
    void Apply(const char* sddl)
    {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr));
        CRegKeyHandle key;
        ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, m_path, 0, WRITE_DAC, key.Receive()));
        EXPECT_EQ(ERROR_SUCCESS, ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd));
        key.Close();
        ::LocalFree(sd);
    }
    CString m_path;
};

} // namespace

typedef CustomTest RegistryOps;

TEST_F(RegistryOps, DeleteRegKeyTakesTheWholeTree)
{
    CScratchRegKey scratch("reg_tree");
    const CString a = scratch.Path() + "\\A";
    SetValue(a + "\\B", "v");
    SetValue(a + "\\B\\C1\\D\\E", "deep");
    SetValue(a + "\\B\\C2", "w");
    SetValue(a + "\\Sibling", "keep");
    CCustomFunctions custom;

    EXPECT_EQ(1, custom.DeleteRegKey(kHkcu + a, "B", host.List(), host.Progress()));
    EXPECT_FALSE(KeyExists(a + "\\B"));
    EXPECT_TRUE(ValueExists(a + "\\Sibling", "keep"));
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24060", kHkcu + a + "\\B"), host.RowText(0));
    EXPECT_EQ(0, host.RowImage(0));
    EXPECT_EQ(1, host.ProgressPos());

    // Gone now: deleting it again fails.
    EXPECT_EQ(0, custom.DeleteRegKey(kHkcu + a, "B", host.List(), host.Progress()));
    EXPECT_STREQ(Row("24030", kHkcu + a + "\\B"), host.LastRowText());
    EXPECT_EQ(1, host.LastRowImage());
}

TEST_F(RegistryOps, DeleteRegKeyRefusesAnUnknownRootAndAMissingSubKey)
{
    CScratchRegKey scratch("reg_refuse");
    const CString a = scratch.Path() + "\\A";
    MakeKey(a + "\\B");
    CCustomFunctions custom;

    // Root names are exact: no result row, the bar stays.
    EXPECT_EQ(0, custom.DeleteRegKey("hkey_current_user\\" + a, "B", host.List(), host.Progress()));
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24040", "hkey_current_user\\" + a + "\\B"), host.RowText(0));
    EXPECT_EQ(2, host.RowImage(0));
    EXPECT_EQ(0, host.ProgressPos());

    // Without a sub-key name the parent itself would go.
    EXPECT_EQ(0, custom.DeleteRegKey(kHkcu + a, "", host.List(), host.Progress()));
    EXPECT_EQ(1, host.LastRowImage());
    EXPECT_EQ(0, custom.DeleteRegKey(kHkcu + a, "\\", host.List(), host.Progress()));
    EXPECT_EQ(1, host.LastRowImage());
    // Nothing below the root: a whole hive branch is never a trace.
    EXPECT_EQ(0, custom.DeleteRegKey("HKEY_CURRENT_USER", "Software", host.List(), host.Progress()));
    EXPECT_EQ(0, custom.DeleteRegKey("HKEY_CURRENT_USER\\\\", "Software", host.List(), host.Progress()));
    EXPECT_EQ(1, host.LastRowImage());
    EXPECT_TRUE(KeyExists(a + "\\B"));
    EXPECT_TRUE(KeyExists("Software"));
}

TEST_F(RegistryOps, DeleteRegKeyFailsWhereTheKeyCannotBeOpened)
{
    CScratchRegKey scratch("reg_denied");
    const CString a = scratch.Path() + "\\A";
    SetValue(a + "\\B\\C", "v");
    CCustomFunctions custom;
    {
        CReadOnlyKey deny(a);
        EXPECT_EQ(0, custom.DeleteRegKey(kHkcu + a, "B", host.List(), host.Progress()));
        EXPECT_STREQ(Row("24030", kHkcu + a + "\\B"), host.LastRowText());
    }
    EXPECT_TRUE(ValueExists(a + "\\B\\C", "v"));
    {
        CReadOnlyKey deny(a + "\\B\\C");
        EXPECT_EQ(0, custom.DeleteRegKey(kHkcu + a, "B", host.List(), host.Progress()));
        EXPECT_EQ(1, host.LastRowImage());
    }
    EXPECT_TRUE(ValueExists(a + "\\B\\C", "v"));
}

TEST_F(RegistryOps, DeleteRegKeyByMatch)
{
    CScratchRegKey scratch("reg_keymatch");
    const CString k = scratch.Path();
    MakeKey(k + "\\TempA");
    MakeKey(k + "\\xTempx");
    MakeKey(k + "\\Other");
    MakeKey(k + "\\TempParent\\Child");
    CCustomFunctions custom;

    EXPECT_EQ(1, custom.DeleteRegKeyByMatch(kHkcu + k, "Temp", host.List(), host.Progress()));
    ASSERT_EQ(4, host.RowCount());
    const CString first = GetLngString("General", "24080") + " \"Temp\"";
    EXPECT_STREQ(Row("24040", first), host.RowText(0));
    EXPECT_EQ(2, host.RowImage(0));
    // From the highest index down; a key with sub-keys of its own stays.
    EXPECT_STREQ(Row("24060", "\"" + k + "\\xTempx\" "), host.RowText(1));
    EXPECT_EQ(0, host.RowImage(1));
    EXPECT_STREQ(Row("24030", "\"" + k + "\\TempParent\" "), host.RowText(2));
    EXPECT_EQ(1, host.RowImage(2));
    EXPECT_STREQ(Row("24060", "\"" + k + "\\TempA\" "), host.RowText(3));
    EXPECT_FALSE(KeyExists(k + "\\TempA"));
    EXPECT_FALSE(KeyExists(k + "\\xTempx"));
    EXPECT_TRUE(KeyExists(k + "\\TempParent\\Child"));
    EXPECT_TRUE(KeyExists(k + "\\Other"));
}

TEST_F(RegistryOps, DeleteRegKeyByMatchNeitherCreatesNorDeletesElsewhere)
{
    CScratchRegKey scratch("reg_keymatch_missing");
    const CString missing = scratch.Path() + "\\Missing";
    CCustomFunctions custom;

    EXPECT_EQ(1, custom.DeleteRegKeyByMatch(kHkcu + missing, "a", host.List(), host.Progress()));
    EXPECT_EQ(1, host.RowCount());
    EXPECT_FALSE(KeyExists(missing));
    EXPECT_EQ(1, custom.DeleteRegKeyByMatch("HKEY_CURRENT_USER", "Software", host.List(), host.Progress()));
    EXPECT_EQ(1, custom.DeleteRegKeyByMatch("Bogus\\" + scratch.Path(), "a", host.List(), host.Progress()));
    EXPECT_EQ(3, host.RowCount());
    EXPECT_TRUE(KeyExists("Software"));

    // A key that can be read but not opened for deleting: each match fails.
    MakeKey(scratch.Path() + "\\Locked\\TempA");
    {
        CReadOnlyKey deny(scratch.Path() + "\\Locked");
        EXPECT_EQ(
            1, custom.DeleteRegKeyByMatch(kHkcu + scratch.Path() + "\\Locked", "Temp", host.List(), host.Progress()));
        EXPECT_EQ(5, host.RowCount());
        EXPECT_EQ(1, host.LastRowImage());
    }
    EXPECT_TRUE(KeyExists(scratch.Path() + "\\Locked\\TempA"));
}

TEST_F(RegistryOps, DeleteRegValue)
{
    CScratchRegKey scratch("reg_value");
    const CString k = scratch.Path();
    SetValue(k, "File1");
    SetValue(k, "File2");
    CCustomFunctions custom;

    EXPECT_EQ(1, custom.DeleteRegValue(kHkcu + k, "File1", host.List(), host.Progress()));
    EXPECT_FALSE(ValueExists(k, "File1"));
    EXPECT_TRUE(ValueExists(k, "File2"));
    ASSERT_EQ(1, host.RowCount());
    EXPECT_STREQ(Row("24060", kHkcu + k + "\\File1"), host.RowText(0));

    // A missing value, a missing key: failed rows, and no key is created.
    EXPECT_EQ(0, custom.DeleteRegValue(kHkcu + k, "File1", host.List(), host.Progress()));
    EXPECT_STREQ(Row("24030", kHkcu + k + "\\File1"), host.LastRowText());
    const CString missing = k + "\\Missing";
    EXPECT_EQ(0, custom.DeleteRegValue(kHkcu + missing, "File2", host.List(), host.Progress()));
    EXPECT_STREQ(Row("24030", kHkcu + missing + "\\File2"), host.LastRowText());
    EXPECT_EQ(1, host.LastRowImage());
    EXPECT_FALSE(KeyExists(missing));

    // After a failed open the value of the previous key is not taken instead.
    EXPECT_EQ(0, custom.DeleteRegValue(kHkcu + missing, "File2", host.List(), host.Progress()));
    EXPECT_TRUE(ValueExists(k, "File2"));

    // Unknown root: the working row stays unfinished.
    EXPECT_EQ(0, custom.DeleteRegValue("HKCU\\" + k, "File2", host.List(), host.Progress()));
    EXPECT_EQ(2, host.LastRowImage());
    EXPECT_TRUE(ValueExists(k, "File2"));
}

TEST_F(RegistryOps, DeleteRegValueByMatch)
{
    CScratchRegKey scratch("reg_valuematch");
    const CString k = scratch.Path();
    // Names of the longest length the registry allows are read whole.
    const CString longName = CString("url_") + CString('x', 16383 - 4);
    SetValue(k, "url1");
    SetValue(k, longName);
    SetValue(k, "keep");
    CCustomFunctions custom;

    EXPECT_EQ(1, custom.DeleteRegValueByMatch(kHkcu + k, "url", host.List(), host.Progress()));
    ASSERT_EQ(3, host.RowCount());
    EXPECT_STREQ(Row("24040", GetLngString("General", "24080") + " \"url\""), host.RowText(0));
    EXPECT_EQ(2, host.RowImage(0));
    EXPECT_EQ(0, host.RowImage(1));
    EXPECT_EQ(0, host.RowImage(2));
    EXPECT_FALSE(ValueExists(k, "url1"));
    EXPECT_FALSE(ValueExists(k, longName));
    EXPECT_TRUE(ValueExists(k, "keep"));
    EXPECT_STREQ(Row("24060", "\"url1\" "), host.RowText(1)); // values come back sorted by name

    // Nothing matched, or no key: only the first row, 0, and no key created.
    EXPECT_EQ(0, custom.DeleteRegValueByMatch(kHkcu + k, "URL", host.List(), host.Progress()));
    EXPECT_EQ(4, host.RowCount());
    EXPECT_EQ(0, custom.DeleteRegValueByMatch(kHkcu + k + "\\Missing", "url", host.List(), host.Progress()));
    EXPECT_EQ(5, host.RowCount());
    EXPECT_FALSE(KeyExists(k + "\\Missing"));
    EXPECT_EQ(0, host.ProgressPos() - host.ProgressLow());
}

// An empty text is in every name: the match operations delete nothing with
// it (under Run it would remove every start-up entry).
TEST_F(RegistryOps, MatchOperationsWithAnEmptyTextDeleteNothing)
{
    CScratchRegKey scratch("reg_emptymatch");
    const CString k = scratch.Path();
    SetValue(k, "Pirt Tarnel");
    MakeKey(k + "\\Sub");
    const struct
    {
        const char* operation;
        std::function<int(CCustomFunctions&, CReportHost&)> run;
        int result;
    } cases[] = {
        {"DeleteRegValueByMatch",
         [&k](CCustomFunctions& c, CReportHost& h) {
             return c.DeleteRegValueByMatch(kHkcu + k, "", h.List(), h.Progress());
         },
         0},
        {"DeleteRegKeyByMatch",
         [&k](CCustomFunctions& c, CReportHost& h) {
             return c.DeleteRegKeyByMatch(kHkcu + k, "", h.List(), h.Progress());
         },
         1},
    };
    for (const auto& c : cases) {
        CCustomFunctions custom;
        CReportHost rows;
        EXPECT_EQ(c.result, c.run(custom, rows)) << c.operation;
        EXPECT_EQ(1, rows.RowCount()) << c.operation; // the first row only
        EXPECT_TRUE(ValueExists(k, "Pirt Tarnel")) << c.operation;
        EXPECT_TRUE(KeyExists(k + "\\Sub")) << c.operation;
    }
}

TEST_F(RegistryOps, DeleteRegValueByMatchWorksOnEveryNamedRoot)
{
    const char* path = "Software\\PirtTests\\reg_hkcc";
    CRegKeyHandle key;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_CONFIG, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                               key.Receive(), nullptr));
    ::RegSetValueExA(key, "trace1", 0, REG_SZ, (const BYTE*)"x", 2);
    key.Close();

    CCustomFunctions custom;
    EXPECT_EQ(1, custom.DeleteRegValueByMatch(CString("HKEY_CURRENT_CONFIG\\") + path, "trace", host.List(),
                                              host.Progress()));
    EXPECT_EQ(0, host.LastRowImage());
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_CONFIG, path, 0, KEY_READ, key.Receive()));
    EXPECT_NE(ERROR_SUCCESS, ::RegQueryValueExA(key, "trace1", nullptr, nullptr, nullptr, nullptr));
    key.Close();
    ::RegDeleteKeyA(HKEY_CURRENT_CONFIG, path);
    ::RegDeleteKeyA(HKEY_CURRENT_CONFIG, "Software\\PirtTests");
}
