// Floods the finder's window with replies on loopback and prints how it holds: its memory
// before, at the peak and after the flood, how long after the flood it has handled every
// reply, and how long Esc takes to end it while the flood goes on. Sends only to 127.0.0.1.
// Runs under Qt's offscreen platform; no display needed.
#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/finder_dlg.h"
#include "core/net/udp_socket.h"
#include "sim/sim_codec.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int FLOOD_DEVICES = 1000;
constexpr auto FLOOD_LENGTH = 3s;
constexpr auto ESC_AFTER = 1500ms;
constexpr unsigned FLOOD_BATCH = 64;
constexpr char DONE_NAME[] = "DONE";

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// A line of /proc/self/status in MB ("VmRSS", "VmHWM").
double StatusMegabytes(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::atof(line.c_str() + std::strlen(key) + 1) / 1024.0;
        }
    }
    return 0;
}

// The bytes waiting in the receive queue of the UDP socket on port (this namespace's
// /proc/net/udp), or -1 when none is listed.
long ReceiveQueueBytes(uint16_t port) {
    std::ifstream table("/proc/net/udp");
    std::string line;
    std::getline(table, line);
    while (std::getline(table, line)) {
        unsigned localPort = 0;
        unsigned long rxQueue = 0;
        if (std::sscanf(line.c_str(), " %*d: %*8x:%x %*8x:%*x %*x %*x:%lx", &localPort, &rxQueue) ==
                2 &&
            localPort == port) {
            return static_cast<long>(rxQueue);
        }
    }
    return -1;
}

uint16_t FreePort() {
    CUdpSocket probe;
    probe.Open();
    probe.Bind(0, htonl(INADDR_LOOPBACK));
    return probe.LocalPort();
}

std::vector<std::vector<uint8_t>> FloodReplies() {
    std::vector<std::vector<uint8_t>> replies;
    for (const SimDevice& device : GenerateDevices(FLOOD_DEVICES)) {
        replies.push_back(sim::EncodeReply(device));
    }
    return replies;
}

// The first device again under another name: once the window shows that name, it has
// handled every reply that came before.
std::vector<uint8_t> DoneReply() {
    SimDevice device = GenerateDevices(1).front();
    device.name = DONE_NAME;
    return sim::EncodeReply(device);
}

// Sends the replies round and round to the window's port until the time is up or until
// stop is set; returns how many went out.
long Flood(int fd, const sockaddr_in& to, const std::vector<std::vector<uint8_t>>& replies,
           Clock::time_point until, const std::atomic<bool>& stop) {
    std::vector<iovec> parts(FLOOD_BATCH);
    std::vector<mmsghdr> messages(FLOOD_BATCH);
    long sent = 0;
    std::size_t next = 0;
    while (Clock::now() < until && !stop.load()) {
        for (unsigned i = 0; i < FLOOD_BATCH; ++i, next = (next + 1) % replies.size()) {
            parts[i] = {const_cast<uint8_t*>(replies[next].data()), replies[next].size()};
            messages[i] = {};
            messages[i].msg_hdr.msg_name = const_cast<sockaddr_in*>(&to);
            messages[i].msg_hdr.msg_namelen = sizeof to;
            messages[i].msg_hdr.msg_iov = &parts[i];
            messages[i].msg_hdr.msg_iovlen = 1;
        }
        const int count = sendmmsg(fd, messages.data(), FLOOD_BATCH, 0);
        sent += count > 0 ? count : 0;
    }
    return sent;
}

bool ShowsDone(const CFinderDlg& dialog) {
    for (const DeviceRecord& record : dialog.Table().slot) {
        if (record.id != 0 && FieldText(record.name) == DONE_NAME) {
            return true;
        }
    }
    return false;
}

struct Target {
    int fd;
    sockaddr_in to;
};

Target SenderTo(uint16_t port) {
    Target target{socket(AF_INET, SOCK_DGRAM, 0), {}};
    MakeSocketAddress("127.0.0.1", port, target.to);
    return target;
}

WorkerEndpoints LoopbackEndpoints(uint16_t localPort) {
    WorkerEndpoints endpoints;
    endpoints.localPort = localPort;
    endpoints.destinationAddress = "127.0.0.1"; // the start-up query goes nowhere else
    endpoints.destinationPort = FreePort();
    return endpoints;
}

// Lets the window start its worker and send its first query.
void Settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void MeasureDrain(const QString& languageDb) {
    const uint16_t port = FreePort();
    CFinderDlg dialog(LoopbackEndpoints(port), QStringLiteral("/nonexistent/marker"), languageDb);
    dialog.show();
    Settle(300);
    const double before = StatusMegabytes("VmRSS");

    const Target target = SenderTo(port);
    const auto replies = FloodReplies();
    const std::vector<uint8_t> done = DoneReply();
    std::atomic<bool> seen{false};
    std::atomic<long> sent{0};
    Clock::time_point floodEnd;
    Clock::time_point workerDone;
    std::thread sender([&] {
        sent = Flood(target.fd, target.to, replies, Clock::now() + FLOOD_LENGTH, seen);
        floodEnd = Clock::now();
        while (ReceiveQueueBytes(port) > 0) {
            std::this_thread::sleep_for(100us);
        }
        workerDone = Clock::now();
        // One copy a millisecond until the window shows it (a copy can be lost while the
        // socket is full); few enough to add nothing that counts to the window's work.
        while (!seen.load()) {
            sendto(target.fd, done.data(), done.size(), 0,
                   reinterpret_cast<const sockaddr*>(&target.to), sizeof target.to);
            std::this_thread::sleep_for(1ms);
        }
    });
    Clock::time_point seenAt;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!seen.load() && ShowsDone(dialog)) {
            seenAt = Clock::now();
            seen = true;
            poll.stop();
            loop.quit();
        }
    });
    poll.setTimerType(Qt::PreciseTimer);
    poll.start(1);
    loop.exec();
    sender.join();
    close(target.fd);
    const double peak = StatusMegabytes("VmHWM");
    Settle(500);
    std::printf("flood: %ld replies in %.1f s (%.0f/s), %d distinct MACs\n", sent.load(),
                std::chrono::duration<double>(FLOOD_LENGTH).count(),
                sent.load() / std::chrono::duration<double>(FLOOD_LENGTH).count(), FLOOD_DEVICES);
    std::printf("RSS before %.1f MB, peak %.1f MB, after %.1f MB (growth to peak %.1f MB)\n",
                before, peak, StatusMegabytes("VmRSS"), peak - before);
    std::printf(
        "drain after the flood's end: %.1f ms (the worker's socket was empty after %.1f ms)\n",
        Milliseconds(seenAt - floodEnd), Milliseconds(workerDone - floodEnd));
    dialog.StopWorker();
}

void MeasureEsc(const QString& languageDb) {
    const uint16_t port = FreePort();
    CFinderDlg dialog(LoopbackEndpoints(port), QStringLiteral("/nonexistent/marker"), languageDb);
    const Target target = SenderTo(port);
    const auto replies = FloodReplies();
    std::atomic<bool> ended{false};
    Clock::time_point escAt;
    std::thread sender([&] {
        Flood(target.fd, target.to, replies, Clock::now() + ESC_AFTER, ended);
        escAt = Clock::now();
        // As a key press from the desktop would: behind whatever the window has queued.
        QCoreApplication::postEvent(
            &dialog, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        Flood(target.fd, target.to, replies, Clock::now() + 120s, ended);
    });
    dialog.DoModal();
    const Clock::time_point exitAt = Clock::now();
    ended = true;
    sender.join();
    close(target.fd);
    std::printf("Esc during the flood to exit: %.1f ms\n", Milliseconds(exitAt - escAt));
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as soon as it is known
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    // The window saves its language pick: it works on a copy of the shipped database.
    QTemporaryDir folder;
    const QString languageDb = folder.filePath(QStringLiteral("language.db"));
    if (!QFile::copy(QStringLiteral(LANGUAGE_DB_FILE), languageDb)) {
        std::fprintf(stderr, "window_flood_bench: no %s; build the finder first\n",
                     LANGUAGE_DB_FILE);
        return 1;
    }
    // Made here: a key event made first on another thread would make the keyboard there.
    QKeyEvent warmUp(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    MeasureDrain(languageDb);
    MeasureEsc(languageDb);
    return 0;
}
