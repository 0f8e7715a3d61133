// Writes a folder of realistic sample logs: a busy daytime and a quiet night,
// five call types on their ports, other events and a few unreadable lines.
#include "samplegenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes sample diagnostic data logs."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Output folder."));
    const QCommandLineOption first(QStringLiteral("first-day"),
                                   QStringLiteral("First day (YYYY-MM-DD)."),
                                   QStringLiteral("date"));
    const QCommandLineOption days(QStringLiteral("days"), QStringLiteral("Number of days."),
                                  QStringLiteral("n"), QStringLiteral("3"));
    const QCommandLineOption ports(QStringLiteral("ports"), QStringLiteral("Number of ports."),
                                   QStringLiteral("n"), QStringLiteral("24"));
    const QCommandLineOption calls(QStringLiteral("calls"), QStringLiteral("Calls per day."),
                                   QStringLiteral("n"), QStringLiteral("4000"));
    const QCommandLineOption lines(QStringLiteral("lines"),
                                   QStringLiteral("Exact lines per file (0: natural)."),
                                   QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Random seed."),
                                  QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption clean(QStringLiteral("clean"),
                                   QStringLiteral("Write no malformed lines."));
    const QCommandLineOption load(
        QStringLiteral("peak-load"),
        QStringLiteral("Traffic offered at the busiest hours as a share of the ports (1.2: "
                       "calls find all ports busy; 0: at most 70 %)."),
        QStringLiteral("f"), QStringLiteral("0"));
    const QCommandLineOption weekend(
        QStringLiteral("weekend"),
        QStringLiteral("Weekend traffic as a share of a weekday's (1: the same)."),
        QStringLiteral("f"), QStringLiteral("1"));
    const QCommandLineOption growth(QStringLiteral("growth"),
                                    QStringLiteral("Traffic growth in percent per 30 days."),
                                    QStringLiteral("p"), QStringLiteral("0"));
    const QCommandLineOption pool(
        QStringLiteral("pool"),
        QStringLiteral("reserved: inbound callers reach only the answering ports (two thirds of "
                       "them); shared: any port."),
        QStringLiteral("kind"), QStringLiteral("reserved"));
    const QCommandLineOption choice(QStringLiteral("port-choice"),
                                    QStringLiteral("random, or lowest: the lowest free port."),
                                    QStringLiteral("how"), QStringLiteral("random"));
    const QCommandLineOption retry(
        QStringLiteral("retry-share"),
        QStringLiteral("Share of callers who find all ports busy and try again (0 to 0.95)."),
        QStringLiteral("r"), QStringLiteral("0"));
    const QCommandLineOption truth(
        QStringLiteral("truth"),
        QStringLiteral("Write what was offered, carried and lost per quarter-hour to this CSV."),
        QStringLiteral("file"));
    parser.addOptions({first, days, ports, calls, lines, seed, clean, load, weekend, growth, pool,
                       choice, retry, truth});
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    tarrow::tools::SampleOptions options;
    if (parser.isSet(first))
        options.firstDay = QDate::fromString(parser.value(first), Qt::ISODate);
    options.days = parser.value(days).toInt();
    options.ports = parser.value(ports).toInt();
    options.answeringPorts = std::max(1, options.ports * 2 / 3);
    options.callsPerDay = parser.value(calls).toLongLong();
    options.linesPerFile = parser.value(lines).toLongLong();
    options.seed = parser.value(seed).toUInt();
    options.malformedLines = !parser.isSet(clean);
    bool loadOk = false;
    options.peakLoad = parser.value(load).toDouble(&loadOk);
    bool weekendOk = false;
    bool growthOk = false;
    options.weekendShare = parser.value(weekend).toDouble(&weekendOk);
    options.growthPercent = parser.value(growth).toDouble(&growthOk);
    bool retryOk = false;
    options.retryShare = parser.value(retry).toDouble(&retryOk);
    options.sharedPool = parser.value(pool) == QLatin1String("shared");
    options.lowestFirst = parser.value(choice) == QLatin1String("lowest");
    options.truthFile = parser.value(truth);
    if (!retryOk || !(options.retryShare >= 0 && options.retryShare <= 0.95) ||
        (parser.value(pool) != QLatin1String("reserved") && !options.sharedPool) ||
        (parser.value(choice) != QLatin1String("random") && !options.lowestFirst)) {
        std::fprintf(stderr, "tarrow-samplelogs: bad --pool, --port-choice or --retry-share\n");
        return 2;
    }
    if (!options.firstDay.isValid() || options.days < 1 || options.ports < 1 || !loadOk ||
        options.peakLoad < 0 || options.peakLoad > 10 || !weekendOk || options.weekendShare < 0 ||
        options.weekendShare > 10 || !growthOk || options.growthPercent < -100 ||
        options.growthPercent > 1000) {
        std::fprintf(stderr, "tarrow-samplelogs: bad --first-day, --days, --ports, --peak-load, "
                             "--weekend or --growth\n");
        return 2;
    }
    const QString error =
        tarrow::tools::writeSampleLogs(parser.positionalArguments().constFirst(), options);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "tarrow-samplelogs: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
