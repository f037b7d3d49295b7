#include "core/servers/SetupAccess.h"

#include <gtest/gtest.h>

TEST(SetupAccess, OnlyAnAdministratorLogOnEnablesSetup)
{
    ASSERT_TRUE(AdminFlagForNotify(101));
    EXPECT_TRUE(SetupButtonEnabled(*AdminFlagForNotify(101)));
    // A GUEST0 or GUEST1 session is reported in user mode.
    ASSERT_TRUE(AdminFlagForNotify(102));
    EXPECT_FALSE(SetupButtonEnabled(*AdminFlagForNotify(102)));
    // Other notifications leave the flag alone.
    for (int code : {100, 103, 106, 110})
        EXPECT_FALSE(AdminFlagForNotify(code)) << code;
}

TEST(SetupAccess, PasswordMustBeTypedAndMatchExactly)
{
    EXPECT_TRUE(SetupPasswordAccepted("5829", "5829"));
    EXPECT_FALSE(SetupPasswordAccepted("", ""));
    EXPECT_FALSE(SetupPasswordAccepted("", "5829"));
    EXPECT_FALSE(SetupPasswordAccepted("Admin", "admin"));
    EXPECT_FALSE(SetupPasswordAccepted("582", "5829"));
    EXPECT_FALSE(SetupPasswordAccepted("58290", "5829"));
}
