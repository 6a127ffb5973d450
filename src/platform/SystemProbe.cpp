#include "SystemProbe.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <link.h>
#include <sys/stat.h>
#include <sys/utsname.h>

namespace cw {

namespace {

std::string FormatModified(const struct stat& info) {
    std::tm local{};
    time_t seconds = info.st_mtim.tv_sec;
    if (!localtime_r(&seconds, &local))
        return {};
    char text[64];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d:%02d", local.tm_mon + 1,
                  local.tm_mday, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

int CollectPath(struct dl_phdr_info* info, size_t, void* data) {
    if (info->dlpi_name && info->dlpi_name[0] != '\0')
        static_cast<std::vector<std::string>*>(data)->emplace_back(info->dlpi_name);
    return 0;
}

std::vector<std::string> LoadedObjectPaths() {
    std::vector<std::string> paths;
    dl_iterate_phdr(CollectPath, &paths);
    return paths;
}

ComponentFile DescribeComponent(const std::string& loadedPath) {
    namespace fs = std::filesystem;
    ComponentFile component;
    component.Name = fs::path(loadedPath).filename().string();
    std::error_code ec;
    fs::path real = fs::canonical(loadedPath, ec);
    if (ec)
        real = loadedPath;
    component.Version = VersionFromSharedObjectName(real.filename().string());
    if (component.Version.empty())
        component.Version = VersionFromSharedObjectName(component.Name);
    struct stat info {};
    if (::stat(real.c_str(), &info) == 0) {
        component.LastModified = FormatModified(info);
        component.Size = static_cast<std::uintmax_t>(info.st_size);
    }
    return component;
}

} // namespace

const std::vector<std::string>& ComponentPrefixes() {
    static const std::vector<std::string> prefixes = {"libQt6Core", "libQt6Gui", "libQt6Widgets",
                                                      "libgif",     "libcurl",   "libstdc++"};
    return prefixes;
}

std::string VersionFromSharedObjectName(std::string_view fileName) {
    size_t at = fileName.find(".so.");
    if (at == std::string_view::npos)
        return {};
    std::string_view digits = fileName.substr(at + 4);
    if (digits.empty() || digits.find_first_not_of("0123456789.") != std::string_view::npos ||
        digits.front() == '.' || digits.back() == '.')
        return {};
    return std::string(digits);
}

ProbedSystem ProbeSystem() {
    ProbedSystem probed;
    struct utsname names {};
    if (::uname(&names) == 0)
        probed.Platform = std::string(names.sysname) + ", " + names.release + ", Build " +
                          names.version + ", " + names.machine;

    std::vector<std::string> paths = LoadedObjectPaths();
    for (const std::string& prefix : ComponentPrefixes()) {
        std::vector<std::string> seen;
        for (const std::string& path : paths) {
            std::string name = std::filesystem::path(path).filename().string();
            // "libQt6Core" must not also take "libQt6CoreFoo", but "libgif" is "libgif.so.7".
            if (name.rfind(prefix + ".so", 0) != 0 && name.rfind(prefix + "-", 0) != 0)
                continue;
            bool duplicate = false;
            for (const std::string& other : seen)
                duplicate = duplicate || other == name;
            if (duplicate)
                continue;
            seen.push_back(name);
            probed.Components.push_back(DescribeComponent(path));
        }
    }
    return probed;
}

} // namespace cw
