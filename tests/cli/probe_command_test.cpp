// finder-cli probe on a segment of its own (tests/support/probe_segment.h): as root by ARP
// probes, and without CAP_NET_RAW through the kernel's neighbour table. Without a namespace
// every test skips.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "cli/finder_cli.h"
#include "tests/support/probe_segment.h"
#include "tests/support/test_process.h"

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun Cli(std::vector<std::string> args) {
    args.insert(args.end(), {"--interface", PROBE_CARD, "--timeout-ms", "500"});
    std::ostringstream out, err;
    const int status = RunFinderCli(args, out, err);
    return {status, out.str(), err.str()};
}

const std::string FAR = PROBE_FAR_MAC;

TEST(ProbeCommandTest, AsRootArpProbesFindEveryHolderAndTheCamera) {
    SKIP_WITHOUT_SEGMENT();
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"probe", "10.3.0.19-10.3.0.21", "10.3.0.30", "172.16.9.9", "--json"},
         "[\n"
         "  {\"ip\": \"10.3.0.19\", \"held\": false, \"mac\": null, \"camera\": null},\n"
         "  {\"ip\": \"10.3.0.20\", \"held\": true, \"mac\": \"" +
             FAR +
             "\", \"camera\": \"Gate\"},\n"
             "  {\"ip\": \"10.3.0.21\", \"held\": false, \"mac\": null, \"camera\": null},\n"
             "  {\"ip\": \"10.3.0.30\", \"held\": true, \"mac\": \"" +
             FAR +
             "\", \"camera\": null},\n"
             "  {\"ip\": \"172.16.9.9\", \"held\": true, \"mac\": \"" +
             FAR +
             "\", \"camera\": null}\n"
             "]\n"},
        {{"probe", "10.3.0.28-10.3.0.33", "--free", "--csv"},
         "ip,held,mac,camera\r\n10.3.0.28,false,,\r\n10.3.0.29,false,,\r\n"
         "10.3.0.32,false,,\r\n10.3.0.33,false,,\r\n"},
        {{"probe", "10.3.0.40", "10.3.0.41"},
         "IP         HELD  MAC                                  CAMERA\n"
         "10.3.0.40  yes   " +
             FAR + " " + PROBE_TWIN_MAC +
             "  -\n"
             "10.3.0.41  no    -                                    -\n"},
    };
    for (const auto& c : cases) {
        CliRun run = Cli(c.args);
        ASSERT_EQ(run.status, 0) << run.err;
        // Two devices answer for .40 in either order.
        const std::string reversed = std::string(PROBE_TWIN_MAC) + " " + FAR;
        if (const std::size_t at = run.out.find(reversed); at != std::string::npos) {
            run.out.replace(at, reversed.size(), FAR + " " + PROBE_TWIN_MAC);
        }
        EXPECT_EQ(run.out, c.out);
        EXPECT_NE(run.err.find("finder-cli: asked ARP probes on eth5\n"), std::string::npos)
            << run.err;
    }
}

TEST(ProbeCommandTest, WithoutCapNetRawOnlyTheCardsSubnetIsAsked) {
    SKIP_WITHOUT_SEGMENT();
    const std::string command = "setpriv --inh-caps=-net_raw --bounding-set=-net_raw " +
                                ShellQuoted(FINDER_CLI_PATH) +
                                " probe 10.3.0.20 10.3.0.31 10.3.0.32 172.16.9.9 --json "
                                "--interface eth5 --timeout-ms 500 2>&1";
    const std::string output = CommandOutput(command);
    if (output.find("setpriv:") != std::string::npos) {
        GTEST_SKIP() << "the capability cannot be dropped here: " << output;
    }
    EXPECT_EQ(output,
              "finder-cli: asked the kernel's neighbour table on eth5\n"
              "finder-cli: 1 address lies outside the subnet of the card asked (eth5) and cannot "
              "be asked without CAP_NET_RAW (as root, ARP probes ask it): 172.16.9.9\n"
              "[\n"
              "  {\"ip\": \"10.3.0.20\", \"held\": true, \"mac\": \"" +
                  FAR +
                  "\", \"camera\": \"Gate\"},\n"
                  "  {\"ip\": \"10.3.0.31\", \"held\": true, \"mac\": \"" +
                  FAR +
                  "\", \"camera\": null},\n"
                  "  {\"ip\": \"10.3.0.32\", \"held\": false, \"mac\": null, \"camera\": null}\n"
                  "]\n");
}

TEST(ProbeCommandTest, BadInputIsRefusedWithItsOptionNamed) {
    const struct {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{"probe"}, "probe needs at least one TARGET"},
        {{"probe", "10.3.0.300"}, "TARGET: \"10.3.0.300\" is not"},
        {{"probe", "10.0.0.0/16"}, "TARGET: \"10.0.0.0/16\" holds 65536 addresses"},
        {{"probe", "10.3.0.9-10.3.0.1"}, "TARGET: \"10.3.0.9-10.3.0.1\" ends before it starts"},
        {{"probe", "10.3.0.1", "--json", "--csv"}, "give either --json or --csv, not both"},
        {{"probe", "10.3.0.1", "--free=yes"}, "--free takes no value"},
        {{"probe", "10.3.0.1", "--to", "10.3.0.2"}, "unknown option \"--to\" for probe"},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(RunFinderCli(c.args, out, err), 2) << c.error;
        EXPECT_NE(err.str().find(c.error), std::string::npos) << err.str();
        EXPECT_EQ(out.str(), "");
    }
}

} // namespace

int main(int argc, char** argv) {
    return RunOnProbeSegment(argc, argv, CAMERA_NETWORKS_SCRIPT, CAMSIM_PATH);
}
