#include "fw/framework.h"
#include <gtest/gtest.h>

namespace {

// The real closing calls, seen from outside: a kernel handle or a registry key
// that was closed no longer answers.
bool KernelOpen(HANDLE h)
{
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != FALSE;
}

bool KeyOpen(HKEY h)
{
    return ::RegQueryInfoKeyA(h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr) == ERROR_SUCCESS;
}

HANDLE MakeEvent() { return ::CreateEventA(nullptr, TRUE, FALSE, nullptr); }

HKEY MakeKey()
{
    HKEY key = nullptr;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\FwHandleTest", 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr);
    return key;
}

template <class Owner>
void CheckOwner(typename Owner::Handle (*make)(), bool (*isOpen)(typename Owner::Handle))
{
    typedef typename Owner::Handle Handle;

    // Closed in the destructor.
    Handle h = make();
    ASSERT_TRUE(isOpen(h));
    {
        Owner owner(h);
        EXPECT_EQ(h, (Handle)owner);
    }
    EXPECT_FALSE(isOpen(h));

    // Detach hands the handle back open; the owner is empty afterwards.
    h = make();
    {
        Owner owner(h);
        EXPECT_EQ(h, owner.Detach());
        EXPECT_FALSE(owner.IsValid());
    }
    EXPECT_TRUE(isOpen(h));

    // Attach takes it over; Close closes it at once and empties the owner.
    Owner owner;
    EXPECT_FALSE(owner.IsValid());
    EXPECT_TRUE(owner.Attach(h));
    owner.Close();
    EXPECT_FALSE(isOpen(h));
    EXPECT_FALSE(owner.IsValid());

    // Receive is filled by the creating call.
    *owner.Receive() = make();
    EXPECT_TRUE(owner.IsValid());
    h = owner;
    owner.Close();
    EXPECT_FALSE(isOpen(h));
}

TEST(HandleOwner, ClosesWhatItHoldsAndHandsBackOnDetach)
{
    struct Row
    {
        const char* name;
        void (*run)();
    } rows[] = {
        {"kernel", [] { CheckOwner<CHandle>(MakeEvent, KernelOpen); }},
        {"registry key", [] { CheckOwner<CRegKeyHandle>(MakeKey, KeyOpen); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.run();
    }
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\FwHandleTest");
}

// Whatever the creating call answers on failure is no handle: it is refused
// by Attach and never closed.
TEST(HandleOwner, FailureValuesAreEmpty)
{
    WIN32_FIND_DATAA data;
    struct Row
    {
        const char* name;
        bool valid;
    } rows[] = {
        {"kernel null", CHandle(nullptr).IsValid()},
        {"kernel invalid", CHandle(INVALID_HANDLE_VALUE).IsValid()},
        {"find null", CFindHandle(nullptr).IsValid()},
        {"find invalid", CFindHandle(INVALID_HANDLE_VALUE).IsValid()},
        {"key null", CRegKeyHandle(nullptr).IsValid()},
        {"find missing", CFindHandle(::FindFirstFileA("c:\\no-such-folder-fw\\*", &data)).IsValid()},
    };
    for (const Row& row : rows)
        EXPECT_FALSE(row.valid) << row.name;

    CHandle kernel;
    EXPECT_FALSE(kernel.Attach(INVALID_HANDLE_VALUE));
    CFindHandle find;
    EXPECT_FALSE(find.Attach(INVALID_HANDLE_VALUE));
    EXPECT_EQ(INVALID_HANDLE_VALUE, (HANDLE)find);
}

} // namespace
