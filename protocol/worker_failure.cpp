#include "protocol/worker_failure.h"

#include <cerrno>

#include "i18n/finder_texts.h"
#include "protocol/apply_texts.h"

std::string StartupFailureSentence(const WorkerStartFailure& failure, const TextLookup& tr) {
    const WindowText& sentence = failure.step == WorkerStartStep::Socket ? WORKER_MSG_NO_SOCKET
                                 : failure.error == EADDRINUSE           ? WORKER_MSG_PORT_IN_USE
                                 : failure.error == EACCES               ? WORKER_MSG_PORT_DENIED
                                                                         : WORKER_MSG_NO_BIND;
    return FillText(tr(sentence),
                    {std::to_string(failure.localPort), std::to_string(failure.error)});
}
