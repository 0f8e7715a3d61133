// Measures "Load Data" on a log folder: wall time and peak memory of the load.
// Usage: tarrow_bench_load LOGDIR YYYY-MM-DD DATADIR
#include "app/startup.h"
#include "logparse/logfiles.h"
#include "logparse/parselogfile.h"
#include "platform/civiltime.h"
#include "serverprobe/registryapi.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimeZone>

#include <cstdint>
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
    tarrow::load::AppState state;
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
    // The parser alone, on each file of the day mapped into memory.
    for (const QFileInfo& info : QDir(QString::fromLocal8Bit(argv[1])).entryInfoList(QDir::Files)) {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const uchar* bytes = file.map(0, file.size());
        tarrow::logparse::ParseOptions options;
        options.chosenDay = tarrow::civil::daysFromCivil(day.year(), day.month(), day.day());
        options.zone = state.zone;
        QElapsedTimer timer;
        timer.start();
        const auto parsed =
            tarrow::logparse::ParseLogFile(std::string_view(reinterpret_cast<const char*>(bytes),
                                                            static_cast<std::size_t>(file.size())),
                                           options);
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        std::printf("parse only %s: %.0f ms, %.0f MB/s, %zu rows\n", qPrintable(info.fileName()),
                    ms, static_cast<double>(file.size()) / 1e3 / ms, parsed.rows.size());
    }
    // Lines at random instants over sixty years: every line a new hour, so the
    // UTC-to-local conversion cannot lean on the line before.
    QByteArray scattered;
    std::uint64_t seed = 88172645463325252ULL;
    for (int i = 0; i < 200000; ++i) {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        const auto t = static_cast<std::int64_t>(seed % (60LL * 365 * 86400)) + 315532800;
        char when[20];
        tarrow::civil::format(t, when);
        scattered += QByteArray(when, 19) + ",HcMgr,1162,NEW CALL,Port3,1,9,0\n";
    }
    for (const char* zone : {"UTC", "Europe/Berlin"}) {
        tarrow::logparse::ParseOptions options;
        options.chosenDay = tarrow::civil::daysFromCivil(2000, 1, 1);
        options.zone = QTimeZone(zone);
        QElapsedTimer timer;
        timer.start();
        const auto parsed = tarrow::logparse::ParseLogFile(
            std::string_view(scattered.constData(), static_cast<std::size_t>(scattered.size())),
            options);
        std::printf("parse 200,000 lines at random instants, %s: %.0f ms (%zu problems)\n", zone,
                    static_cast<double>(timer.nsecsElapsed()) / 1e6,
                    static_cast<std::size_t>(
                        parsed.problems.count(tarrow::logparse::ProblemKind::NotADate)));
    }
    return 0;
}
