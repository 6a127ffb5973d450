#include "FilePermissions.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace cw::test {

namespace fs = std::filesystem;

namespace {

constexpr fs::perms kWrite =
    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

void SetWritable(const fs::path& root, bool writable) {
    auto apply = [writable](const fs::path& path) {
        std::error_code ec;
        fs::permissions(path, kWrite, writable ? fs::perm_options::add : fs::perm_options::remove,
                        ec);
    };
    apply(root);
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != decltype(it)();
         it.increment(ec))
        apply(it->path());
}

constexpr unsigned kOverrides =
    (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool SetOverrides(bool on) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    if (on)
        data[0].effective |= kOverrides & data[0].permitted;
    else
        data[0].effective &= ~kOverrides;
    return syscall(SYS_capset, &header, data) == 0;
}

} // namespace

ReadOnlyTree::ReadOnlyTree(fs::path root) : root_(std::move(root)) {
    SetWritable(root_, false);
}

ReadOnlyTree::~ReadOnlyTree() {
    SetWritable(root_, true);
}

ObeyFilePermissions::ObeyFilePermissions() {
    dropped_ = ::geteuid() == 0 && SetOverrides(false);
}

ObeyFilePermissions::~ObeyFilePermissions() {
    if (dropped_)
        SetOverrides(true);
}

} // namespace cw::test
