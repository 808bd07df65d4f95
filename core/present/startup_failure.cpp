#include "protocol/worker_failure.h"

#include "i18n/finder_texts.h"
#include "protocol/apply_texts.h"
#include "protocol/socket_platform.h"

std::string StartupFailureSentence(const WorkerStartFailure& failure, const TextLookup& tr) {
    const WindowText& sentence =
        failure.step == WorkerStartStep::Socket      ? WORKER_MSG_NO_SOCKET
        : failure.error == SOCKET_ERR_ADDRESS_IN_USE ? WORKER_MSG_PORT_IN_USE
        : failure.error == SOCKET_ERR_ACCESS_DENIED  ? WORKER_MSG_PORT_DENIED
                                                     : WORKER_MSG_NO_BIND;
    return FillText(tr(sentence),
                    {std::to_string(failure.localPort), std::to_string(failure.error)});
}
