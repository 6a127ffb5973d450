#pragma once

#include <filesystem>

namespace cw::test {

// Makes every file and folder below root (and root) read-only, and back again at the end.
class ReadOnlyTree {
public:
    explicit ReadOnlyTree(std::filesystem::path root);
    ~ReadOnlyTree();
    ReadOnlyTree(const ReadOnlyTree&) = delete;
    ReadOnlyTree& operator=(const ReadOnlyTree&) = delete;

private:
    std::filesystem::path root_;
};

// While it lives, this thread obeys file permissions even when it runs as root (tests in a
// container often do): the capabilities that override them are dropped and given back at
// the end.
class ObeyFilePermissions {
public:
    ObeyFilePermissions();
    ~ObeyFilePermissions();
    ObeyFilePermissions(const ObeyFilePermissions&) = delete;
    ObeyFilePermissions& operator=(const ObeyFilePermissions&) = delete;

private:
    bool dropped_ = false;
};

} // namespace cw::test
