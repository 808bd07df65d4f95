#include "tests/support/probe_segment.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <utility>

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

bool Run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

} // namespace

std::string EnterPrivateNetworkNamespace() {
    if (unshare(CLONE_NEWNET) == 0) {
        return "";
    }
    const std::string uid = std::to_string(getuid());
    const std::string gid = std::to_string(getgid());
    if (unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0 || !WriteMap("/proc/self/setgroups", "deny") ||
        !WriteMap("/proc/self/uid_map", "0 " + uid + " 1") ||
        !WriteMap("/proc/self/gid_map", "0 " + gid + " 1")) {
        return "no private network namespace can be made here (needs root or user namespaces)";
    }
    return "";
}

std::string BuildProbeSegment(const std::string& script, const std::string& camsim,
                              const std::string& stateDir) {
    std::ofstream(stateDir + "/gate.txt")
        << "Gate | 02005e000301 | 10.3.0.20 | 255.255.255.0 | 10.3.0.1 | 80 | FFFFFFFF | "
           "2.1.0 | | | 0\n";
    const std::string state = " " + stateDir + " net4 eth5 ";
    const bool built =
        Run("ip link set lo up") &&
        Run("CAMERA_MAC=" + std::string(PROBE_FAR_MAC) + " " + script + " add" + state +
            "10.3.0.5/24 10.3.0.20/24 " + camsim + " --devices " + stateDir + "/gate.txt") &&
        Run(script + " hold" + state + "10.3.0.30/24 10.3.0.31/24 10.3.0.40/24 172.16.9.9/24") &&
        Run(script + " twin" + state + "10.3.0.40/24 " + PROBE_TWIN_MAC);
    return built ? "" : "the probe's segment could not be built here (ip, veth, macvlan, nsenter)";
}

void RemoveProbeSegment(const std::string& script, const std::string& stateDir) {
    Run(script + " down " + stateDir);
}

namespace {

std::string g_skipReason;

class CProbeSegmentEnvironment : public ::testing::Environment {
public:
    CProbeSegmentEnvironment(std::string script, std::string camsim)
        : m_script(std::move(script)), m_camsim(std::move(camsim)) {}
    void SetUp() override {
        char state[] = "/tmp/probe-segment-XXXXXX";
        if (!g_skipReason.empty() || mkdtemp(state) == nullptr) {
            g_skipReason = g_skipReason.empty() ? "no temporary folder" : g_skipReason;
            return;
        }
        m_state = state;
        g_skipReason = BuildProbeSegment(m_script, m_camsim, m_state);
    }
    void TearDown() override {
        if (!m_state.empty()) {
            RemoveProbeSegment(m_script, m_state);
            [[maybe_unused]] const int status = std::system(("rm -rf " + m_state).c_str());
        }
    }

private:
    std::string m_script;
    std::string m_camsim;
    std::string m_state;
};

} // namespace

const std::string& ProbeSegmentSkipReason() {
    return g_skipReason;
}

int RunOnProbeSegment(int argc, char** argv, const std::string& script, const std::string& camsim) {
    g_skipReason = EnterPrivateNetworkNamespace(); // before anything starts a thread
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new CProbeSegmentEnvironment(script, camsim));
    return RUN_ALL_TESTS();
}
