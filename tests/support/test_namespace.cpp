#include "tests/support/test_namespace.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

namespace {

bool WriteMap(const char* path, const std::string& text) {
    const int fd = open(path, O_WRONLY);
    const bool written =
        fd >= 0 && write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (fd >= 0) {
        close(fd);
    }
    return written;
}

} // namespace

std::string EnterPrivateNetworkNamespace() {
    if (unshare(CLONE_NEWNET) == 0) {
        return {};
    }
    const std::string uid = std::to_string(getuid());
    const std::string gid = std::to_string(getgid());
    if (unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0 || !WriteMap("/proc/self/setgroups", "deny") ||
        !WriteMap("/proc/self/uid_map", "0 " + uid + " 1") ||
        !WriteMap("/proc/self/gid_map", "0 " + gid + " 1")) {
        return "no private network namespace can be made here (needs root or user namespaces)";
    }
    return {};
}
