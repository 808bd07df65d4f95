#include "core/status/startup_failure.h"

#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/net/socket_platform.h"

std::string StartupFailureSentence(const WorkerStartFailure& failure, const TextLookup& tr) {
    const WindowText& sentence =
        failure.step == WorkerStartStep::Socket      ? WORKER_MSG_NO_SOCKET
        : failure.error == SOCKET_ERR_ADDRESS_IN_USE ? WORKER_MSG_PORT_IN_USE
        : failure.error == SOCKET_ERR_ACCESS_DENIED  ? WORKER_MSG_PORT_DENIED
                                                     : WORKER_MSG_NO_BIND;
    return FillText(tr(sentence),
                    {std::to_string(failure.localPort), std::to_string(failure.error)});
}
