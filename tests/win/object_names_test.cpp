// The name set chosen from the running system: Wine reports an NT-family
// Windows of version 5 or later, which takes the "Global\" names.
#include "link/channel/object_names.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(KernelObjectNamesHere, ChosenFromTheReportedVersion) {
    const KernelObjectNames* names = nullptr;
    ASSERT_TRUE(QueryKernelObjectNames(&names));
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    ASSERT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    ASSERT_GE(info.dwMajorVersion, 5u);
    EXPECT_STREQ(names->linkMapping, "Global\\tzra VerodoRared LM Connection MapFile");
    EXPECT_EQ(&CurrentKernelObjectNames(), names);
}
