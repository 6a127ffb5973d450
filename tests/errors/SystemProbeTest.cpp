#include "SystemProbe.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <sys/utsname.h>

namespace cw {
namespace {

TEST(SystemProbeTest, VersionFromSharedObjectName) {
    EXPECT_EQ(VersionFromSharedObjectName("libQt6Core.so.6.4.2"), "6.4.2");
    EXPECT_EQ(VersionFromSharedObjectName("libstdc++.so.6.0.30"), "6.0.30");
    EXPECT_EQ(VersionFromSharedObjectName("libgif.so.7"), "7");
    EXPECT_EQ(VersionFromSharedObjectName("libgif.so"), "");
    EXPECT_EQ(VersionFromSharedObjectName("libcurl.so.4.8.0.debug"), "");
    EXPECT_EQ(VersionFromSharedObjectName("libfoo.so."), "");
}

TEST(SystemProbeTest, PlatformComesFromTheKernel) {
    struct utsname names {};
    ASSERT_EQ(::uname(&names), 0);
    ProbedSystem probed = ProbeSystem();
    EXPECT_EQ(probed.Platform, std::string(names.sysname) + ", " + names.release + ", Build " +
                                   names.version + ", " + names.machine);
}

TEST(SystemProbeTest, ListsTheLoadedStandardLibrary) {
    ProbedSystem probed = ProbeSystem();
    const ComponentFile* found = nullptr;
    for (const ComponentFile& component : probed.Components) {
        bool listed = false;
        for (const std::string& prefix : ComponentPrefixes())
            listed = listed || component.Name.rfind(prefix, 0) == 0;
        EXPECT_TRUE(listed) << component.Name;
        if (component.Name.rfind("libstdc++", 0) == 0) {
            EXPECT_EQ(found, nullptr) << "listed twice";
            found = &component;
        }
    }
    ASSERT_NE(found, nullptr);
    EXPECT_TRUE(std::regex_match(found->Version, std::regex(R"(\d+(\.\d+)*)"))) << found->Version;
    EXPECT_TRUE(
        std::regex_match(found->LastModified, std::regex(R"(\d\d-\d\d-\d{4} \d\d:\d\d:\d\d)")))
        << found->LastModified;
    EXPECT_GT(found->Size, 100000u);
}

} // namespace
} // namespace cw
