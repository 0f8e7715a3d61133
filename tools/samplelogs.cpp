// Writes a folder of realistic sample logs: a busy daytime and a quiet night,
// five call types on their ports, other events and a few unreadable lines.
#include "samplegenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

struct Option {
    const char* name;
    const char* help;
    const char* valueName; // none for a switch
    const char* fallback;
};

constexpr Option kOptions[] = {
    {"first-day", "First day (YYYY-MM-DD).", "date", nullptr},
    {"days", "Number of days.", "n", "3"},
    {"ports", "Number of ports.", "n", "24"},
    {"calls", "Calls per day.", "n", "4000"},
    {"lines", "Exact lines per file (0: natural).", "n", "0"},
    {"seed", "Random seed.", "n", "1"},
    {"clean", "Write no malformed lines.", nullptr, nullptr},
    {"peak-load",
     "Traffic offered at the busiest hours as a share of the ports (1.2: calls find all ports "
     "busy; 0: at most 70 %).",
     "f", "0"},
    {"weekend", "Weekend traffic as a share of a weekday's (1: the same).", "f", "1"},
    {"growth", "Traffic growth in percent per 30 days.", "p", "0"},
    {"pool",
     "reserved: inbound callers reach only the answering ports (two thirds of them); shared: any "
     "port.",
     "kind", "reserved"},
    {"port-choice", "random, or lowest: the lowest free port.", "how", "random"},
    {"retry-share", "Share of callers who find all ports busy and try again (0 to 0.95).", "r",
     "0"},
    {"truth", "Write what was offered, carried and lost per quarter-hour to this CSV.", "file",
     nullptr},
};

void addOptions(QCommandLineParser& parser) {
    for (const Option& o : kOptions) {
        QCommandLineOption option(QLatin1String(o.name), QLatin1String(o.help));
        if (o.valueName)
            option.setValueName(QLatin1String(o.valueName));
        if (o.fallback)
            option.setDefaultValue(QLatin1String(o.fallback));
        parser.addOption(option);
    }
}

// The options read and checked; an error text when one is out of range.
QString readOptions(const QCommandLineParser& parser, tarrow::tools::SampleOptions& o) {
    const auto value = [&parser](const char* name) { return parser.value(QLatin1String(name)); };
    const auto number = [&](const char* name, double low, double high, double& out) {
        bool ok = false;
        out = value(name).toDouble(&ok);
        return ok && out >= low && out <= high;
    };
    if (parser.isSet(QStringLiteral("first-day")))
        o.firstDay = QDate::fromString(value("first-day"), Qt::ISODate);
    o.days = value("days").toInt();
    o.ports = value("ports").toInt();
    o.answeringPorts = std::max(1, o.ports * 2 / 3);
    o.callsPerDay = value("calls").toLongLong();
    o.linesPerFile = value("lines").toLongLong();
    o.seed = value("seed").toUInt();
    o.malformedLines = !parser.isSet(QStringLiteral("clean"));
    o.sharedPool = value("pool") == QLatin1String("shared");
    o.lowestFirst = value("port-choice") == QLatin1String("lowest");
    o.truthFile = value("truth");
    if (!number("retry-share", 0, 0.95, o.retryShare) ||
        (value("pool") != QLatin1String("reserved") && !o.sharedPool) ||
        (value("port-choice") != QLatin1String("random") && !o.lowestFirst))
        return QStringLiteral("bad --pool, --port-choice or --retry-share");
    if (!o.firstDay.isValid() || o.days < 1 || o.ports < 1 ||
        !number("peak-load", 0, 10, o.peakLoad) || !number("weekend", 0, 10, o.weekendShare) ||
        !number("growth", -100, 1000, o.growthPercent))
        return QStringLiteral(
            "bad --first-day, --days, --ports, --peak-load, --weekend or --growth");
    return {};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes sample diagnostic data logs."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Output folder."));
    addOptions(parser);
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    tarrow::tools::SampleOptions options;
    if (const QString bad = readOptions(parser, options); !bad.isEmpty()) {
        std::fprintf(stderr, "tarrow-samplelogs: %s\n", qPrintable(bad));
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
