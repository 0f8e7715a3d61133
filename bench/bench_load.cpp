// Measures "Load Data" on a log folder: wall time and peak memory of the load.
// Usage: tarrow_bench_load LOGDIR YYYY-MM-DD DATADIR
#include "app/startup.h"
#include "logparse/logfiles.h"
#include "serverprobe/registryapi.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

#include <sys/resource.h>

static long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: tarrow_bench_load LOGDIR YYYY-MM-DD DATADIR\n");
        return 2;
    }
    tarrow::app::AppState state;
    state.programFolder = QCoreApplication::applicationDirPath();
    state.dataFolder = QString::fromLocal8Bit(argv[3]);
    tarrow::serverprobe::MapRegistry registry;
    const QStringList messages = tarrow::app::startUp(state, registry);
    for (const QString& m : messages)
        std::fprintf(stderr, "%s\n", qPrintable(m));
    const QDate day = QDate::fromString(QString::fromLatin1(argv[2]), Qt::ISODate);
    const long before = peakKiB();
    for (int run = 1; run <= 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        const auto outcome =
            tarrow::app::loadDay(state, QString::fromLocal8Bit(argv[1]), day,
                                 tarrow::logparse::dayEntryText(day, state.locale));
        const qint64 ms = timer.elapsed();
        std::printf("load run %d: %lld ms, %lld calls, peak RSS %.1f MB (before load %.1f MB)\n",
                    run, static_cast<long long>(ms), static_cast<long long>(outcome.calls),
                    peakKiB() / 1024.0, before / 1024.0);
    }
    return 0;
}
