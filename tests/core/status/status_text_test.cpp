// The worker's status line, as users quote it: every outcome in its exact words.
#include <gtest/gtest.h>

#include "core/status/status_text.h"

namespace {

TEST(StatusText, EveryOutcomeReadsAsTheFinderHasAlwaysSaidIt) {
    const std::vector<CardSendFailure> two = {{"eth1", 101}, {"wlan0", 19}};
    const struct {
        WorkerOutcome outcome;
        const char* text;
    } cases[] = {
        {{}, "OK"},
        {{WorkerOutcomeKind::PartlySent, 0, {}, {two.front()}},
         "OK, but not sent on eth1 (Errorcode =101)"},
        {{WorkerOutcomeKind::SocketsLayerFailed, 10091, {}, {}}, "ERR: WSAStartup() fail 10091 \n"},
        {{WorkerOutcomeKind::SocketFailed, 24, {}, {}}, "ERR: socket() error! Errorcode =24\n"},
        {{WorkerOutcomeKind::BindFailed, 98, {}, {}}, "ERR: bind() error! Errorcode =98\n"},
        {{WorkerOutcomeKind::SendFailed, 13, {}, {}}, "ERR: sendto error! Errorcode =13\n"},
        {{WorkerOutcomeKind::ReceiveFailed, 90, {}, {}}, "ERR: recv error! Errorcode =90\n"},
        {{WorkerOutcomeKind::NoCard, 0, {}, {}},
         "ERR: no network card to search! None is up with an IPv4 address and broadcast\n"},
        {{WorkerOutcomeKind::EveryCardFailed, 0, {}, two},
         "ERR: sendto error on every network card! eth1 (Errorcode =101), wlan0 (Errorcode "
         "=19)\n"},
        {{WorkerOutcomeKind::CardGone, 0, "eth%1", {}},
         "ERR: the network card eth%1 the camera answered on is gone! Press Update\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StatusText(c.outcome), c.text);
        const bool failed = std::string(c.text).rfind("ERR: ", 0) == 0;
        EXPECT_EQ(c.outcome.Failed(), failed) << c.text;
    }
    EXPECT_EQ(StatusLine({WorkerOutcomeKind::SocketsLayerFailed, 7, {}, {}}),
              "ERR: WSAStartup() fail 7");
}

} // namespace
