// crypt.dll through its import library: every error crosses into this
// program as std::runtime_error carrying its language text; the key check
// comes first, refused values change nothing, and Pad writes exactly the
// pad bytes.
#include <gtest/gtest.h>
#include "CryptFunctions.h"
#include "language.h"
#include "testsupport.h"
#include <cstring>
#include <functional>
#include <string>

namespace {

// The text of the runtime_error the call throws; "<none>" when it returns.
std::string ErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::runtime_error& e) {
        return e.what();
    } catch (...) {
        return "<other exception>";
    }
    return "<none>";
}

std::string Text(const char* key)
{
    return std::string((const char*)GetLngString("Zembla", key));
}

class CryptTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pirt_test::ResetDataRoots();
        // The texts must exist and differ, or the comparisons prove nothing.
        ASSERT_NE("", Text("20000"));
        ASSERT_NE(Text("20000"), Text("20010"));
        ASSERT_NE(Text("20010"), Text("20020"));
    }
    void TearDown() override { pirt_test::ResetDataRoots(); }
};

} // namespace

TEST_F(CryptTest, WithoutAKeyEveryMemberThrowsTheKeyText)
{
    ICryptFunctions crypt;
    char buf[8] = {};
    const struct { const char* name; std::function<void()> call; } cases[] = {
        {"SetMode(5) checks the key before the range", [&] { crypt.SetMode(5); }},
        {"SetMode(1)", [&] { crypt.SetMode(1); }},
        {"GetMode", [&] { crypt.GetMode(); }},
        {"SetPadding(-1)", [&] { crypt.SetPadding(-1); }},
        {"GetPadding", [&] { crypt.GetPadding(); }},
        {"GetKeyLength", [&] { crypt.GetKeyLength(); }},
        {"GetBlockSize", [&] { crypt.GetBlockSize(); }},
        {"Pad", [&] { crypt.Pad(buf, 3); }},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text("20000"), ErrorOf(c.call)) << c.name;
    EXPECT_EQ(0, buf[3]);

    // A block size Pad could not divide by is refused: still no key.
    EXPECT_FALSE(crypt.SetKeySettings(0, 16));
    EXPECT_FALSE(crypt.SetKeySettings(-8, 16));
    EXPECT_EQ(Text("20000"), ErrorOf([&] { crypt.GetBlockSize(); }));
}

TEST_F(CryptTest, RefusedModeOrPaddingKeepsTheStoredValue)
{
    ICryptFunctions crypt;
    ASSERT_TRUE(crypt.SetKeySettings(8, 16));
    EXPECT_EQ(8, crypt.GetBlockSize());
    EXPECT_EQ(16, crypt.GetKeyLength());
    EXPECT_EQ(0, crypt.GetMode());
    EXPECT_EQ(0, crypt.GetPadding());
    crypt.SetMode(2);
    crypt.SetPadding(1);
    EXPECT_EQ(2, crypt.GetMode());

    const struct { const char* name; std::function<void()> call; const char* key; } cases[] = {
        {"SetMode(-1), compared unsigned", [&] { crypt.SetMode(-1); }, "20010"},
        {"SetMode(3)", [&] { crypt.SetMode(3); }, "20010"},
        {"SetPadding(3)", [&] { crypt.SetPadding(3); }, "20020"},
        {"SetPadding(-2)", [&] { crypt.SetPadding(-2); }, "20020"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(c.key), ErrorOf(c.call)) << c.name;
        EXPECT_EQ(2, crypt.GetMode()) << c.name;
        EXPECT_EQ(1, crypt.GetPadding()) << c.name;
    }
    // A refused new block size keeps the key settings too.
    EXPECT_FALSE(crypt.SetKeySettings(0, 32));
    EXPECT_EQ(8, crypt.GetBlockSize());
    EXPECT_EQ(16, crypt.GetKeyLength());
}

TEST_F(CryptTest, PadWritesExactlyThePadBytes)
{
    const struct { int padding; int length; bool nullData; int result; int fill; } cases[] = {
        {2, 13, false, 16, 0x03},
        {2, 16, false, 16, -1},    // a whole block gets no padding block
        {2, 9, false, 16, 0x07},
        {1, 5, false, 8, ' '},
        {0, 7, false, 8, 0x00},
        {0, 0, false, 0, -1},
        {2, -3, false, -3, -1},    // nothing written outside the buffer
        {2, 5, true, 5, -1},
    };
    for (const auto& c : cases) {
        ICryptFunctions crypt;
        ASSERT_TRUE(crypt.SetKeySettings(8, 16));
        crypt.SetPadding(c.padding);
        char buf[24];
        memset(buf, 0xEE, sizeof(buf));
        EXPECT_EQ(c.result, crypt.Pad(c.nullData ? nullptr : buf, c.length))
            << "padding " << c.padding << ", length " << c.length;
        const int padFrom = c.fill < 0 ? (int)sizeof(buf) : c.length;
        for (int i = 0; i < (int)sizeof(buf); ++i) {
            const bool pad = i >= padFrom && i < c.result;
            EXPECT_EQ(pad ? c.fill : 0xEE, (unsigned char)buf[i])
                << "byte " << i << ", padding " << c.padding << ", length " << c.length;
        }
    }
}
