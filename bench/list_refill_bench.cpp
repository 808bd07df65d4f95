// Measures the finder's window refilling its list: from Update to 255 cameras listed (and the
// window's pending paints done), with the real dialog on Qt's offscreen platform and camsim
// in this process answering on 127.0.0.1. Prints the wall time and the CPU time of the
// window's thread, median and worst of 20 rounds. Sends only to 127.0.0.1.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

#include "app/desktop_hooks.h"
#include "app/finder_dlg.h"
#include "core/net/udp_socket.h"
#include "sim/camera_simulator.h"

namespace {

constexpr int BENCH_CAMERAS = DEVICE_TABLE_SLOTS;
constexpr int BENCH_ROUNDS = 20;
constexpr int BENCH_ROUND_LIMIT_MS = 5000;

double ThreadCpuMs() {
    timespec used{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) * 1e3 + used.tv_nsec / 1e6;
}

void PrintMessage(QWidget*, const QString& title, const QString& text) {
    std::printf("message box: %s: %s\n", qPrintable(title), qPrintable(text));
}

uint16_t FreeLoopbackPort() {
    CUdpSocket probe;
    probe.Open();
    probe.Bind(0, htonl(INADDR_LOOPBACK));
    return probe.LocalPort();
}

// Runs the window's event loop until the list holds every camera or the limit passes, then
// lets the window finish what it has queued (the paints) before the clock stops.
bool WaitForFullList(CFinderDlg& dlg) {
    QEventLoop loop;
    auto full = [&dlg] {
        return static_cast<QListWidget*>(dlg.ControlById(IDC_DEVICE_LIST))->count() ==
               BENCH_CAMERAS;
    };
    QObject::connect(static_cast<QListWidget*>(dlg.ControlById(IDC_DEVICE_LIST))->model(),
                     &QAbstractItemModel::rowsInserted, &loop, [&] {
                         if (full()) {
                             loop.quit();
                         }
                     });
    QTimer::singleShot(BENCH_ROUND_LIMIT_MS, &loop, &QEventLoop::quit);
    if (!full()) {
        loop.exec();
    }
    QCoreApplication::processEvents();
    return full();
}

void PrintFigures(const char* what, std::vector<double> values, const char* goal) {
    std::sort(values.begin(), values.end());
    std::printf("%s, %zu rounds: median %.2f ms, worst %.2f ms, best %.2f ms%s\n", what,
                values.size(), values[values.size() / 2], values.back(), values.front(), goal);
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    g_pfnShowMessage = PrintMessage;

    QTemporaryDir folder; // the window's own copy of language.db: the built one keeps its pick
    const QString languageDb = folder.filePath(QStringLiteral("language.db"));
    if (!folder.isValid() || !QFile::copy(QStringLiteral(LANGUAGE_DB_FILE), languageDb)) {
        std::printf("cannot copy %s; build the language_db target first\n", LANGUAGE_DB_FILE);
        return 1;
    }
    QFile::setPermissions(languageDb, QFile::ReadOwner | QFile::WriteOwner);

    SimSettings settings;
    settings.bindAddress = "127.0.0.1";
    settings.port = 0;
    CameraSimulator cameras(GenerateDevices(BENCH_CAMERAS), settings);
    std::string error;
    if (!cameras.Open(error)) {
        std::printf("camsim: %s\n", error.c_str());
        return 1;
    }
    std::thread serving([&cameras] { cameras.Run(); });

    WorkerEndpoints endpoints;
    endpoints.localPort = FreeLoopbackPort();
    endpoints.destinationAddress = "127.0.0.1";
    endpoints.destinationPort = cameras.LocalPort();
    int status = 0;
    {
        CFinderDlg dlg(endpoints, folder.filePath(QStringLiteral("Search.conf")), languageDb);
        dlg.show();
        if (!WaitForFullList(dlg)) { // the window's own first query
            std::printf("the first query listed %d of %d cameras\n",
                        static_cast<QListWidget*>(dlg.ControlById(IDC_DEVICE_LIST))->count(),
                        BENCH_CAMERAS);
            status = 1;
        }
        std::vector<double> wall, cpu;
        for (int round = 0; round < BENCH_ROUNDS && status == 0; ++round) {
            QElapsedTimer clock;
            const double cpuBefore = ThreadCpuMs();
            clock.start();
            dlg.OnUpdate();
            const bool listed = WaitForFullList(dlg);
            wall.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
            cpu.push_back(ThreadCpuMs() - cpuBefore);
            if (!listed) {
                std::printf("round %d: %d of %d cameras listed\n", round + 1,
                            static_cast<QListWidget*>(dlg.ControlById(IDC_DEVICE_LIST))->count(),
                            BENCH_CAMERAS);
                status = 1;
            }
        }
        if (status == 0) {
            std::printf("Update to %d cameras listed, offscreen, camsim on loopback:\n",
                        BENCH_CAMERAS);
            PrintFigures("  wall time", wall, " (goal: median < 10 ms, worst < 50 ms)");
            PrintFigures("  CPU of the window's thread", cpu, "");
        }
        dlg.StopWorker();
    }
    cameras.Stop();
    serving.join();
    return status;
}
