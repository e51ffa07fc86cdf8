// crypt.dll through its import library: errors cross into this program as
// std::runtime_error with their language text, the key check comes first,
// refused values change nothing, and Pad writes exactly the pad bytes.
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

std::string Text(const char* key) { return (const char*)GetLngString("Zembla", key); }

} // namespace

TEST(CryptTest, KeyCheckFirstThenRangeChecksThatKeepTheStoredValue)
{
    pirt_test::ResetDataRoots();
    // Texts that are empty or alike would prove nothing.
    ASSERT_NE("", Text("20000"));
    ASSERT_NE(Text("20000"), Text("20010"));
    ASSERT_NE(Text("20010"), Text("20020"));

    ICryptFunctions crypt;
    char buf[8] = {};
    EXPECT_FALSE(crypt.SetKeySettings(0, 16)); // Pad could not divide by it
    EXPECT_FALSE(crypt.SetKeySettings(-8, 16));
    const struct
    {
        const char* name;
        std::function<void()> call;
        const char* key;
    } cases[] = {
        {"SetMode(5) without a key", [&] { crypt.SetMode(5); }, "20000"},
        {"GetBlockSize without a key", [&] { crypt.GetBlockSize(); }, "20000"},
        {"GetPadding without a key", [&] { crypt.GetPadding(); }, "20000"},
        {"Pad without a key", [&] { crypt.Pad(buf, 3); }, "20000"},
        {"set-up",
         [&] {
             crypt.SetKeySettings(8, 16);
             crypt.SetMode(2);
             crypt.SetPadding(1);
         },
         nullptr},
        {"SetMode(-1), compared unsigned", [&] { crypt.SetMode(-1); }, "20010"},
        {"SetMode(3)", [&] { crypt.SetMode(3); }, "20010"},
        {"SetPadding(3)", [&] { crypt.SetPadding(3); }, "20020"},
        {"SetPadding(-2)", [&] { crypt.SetPadding(-2); }, "20020"},
        {"refused block size", [&] { EXPECT_FALSE(crypt.SetKeySettings(0, 32)); }, nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.key ? Text(c.key) : "<none>", ErrorOf(c.call)) << c.name;
    EXPECT_EQ(0, buf[3]);
    EXPECT_EQ(2, crypt.GetMode());
    EXPECT_EQ(1, crypt.GetPadding());
    EXPECT_EQ(8, crypt.GetBlockSize());
    EXPECT_EQ(16, crypt.GetKeyLength());
}

TEST(CryptTest, PadWritesExactlyThePadBytes)
{
    const struct
    {
        int padding, length;
        bool nullData;
        int result, fill;
    } cases[] = {
        {2, 13, false, 16, 0x03}, {2, 9, false, 16, 0x07},
        {2, 16, false, 16, -1}, // a whole block gets no padding block
        {1, 5, false, 8, ' '},    {0, 7, false, 8, 0x00},
        {0, 0, false, 0, -1},     {2, -3, false, -3, -1}, // nothing written outside the buffer
        {2, 5, true, 5, -1},
    };
    for (const auto& c : cases) {
        ICryptFunctions crypt;
        ASSERT_TRUE(crypt.SetKeySettings(8, 16));
        crypt.SetPadding(c.padding);
        unsigned char buf[24];
        memset(buf, 0xEE, sizeof(buf));
        EXPECT_EQ(c.result, crypt.Pad(c.nullData ? nullptr : (char*)buf, c.length))
            << "padding " << c.padding << ", length " << c.length;
        for (int i = 0; i < (int)sizeof(buf); ++i)
            EXPECT_EQ(c.fill >= 0 && i >= c.length && i < c.result ? c.fill : 0xEE, buf[i])
                << "byte " << i << ", padding " << c.padding << ", length " << c.length;
    }
}
