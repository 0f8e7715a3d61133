#pragma once

#include <QDate>
#include <QString>

#include <cstdint>

namespace tarrow::tools {

struct SampleOptions {
    QDate firstDay = QDate(2026, 12, 1);
    int days = 3;
    int ports = 24; // ports 1..ports; the first answeringPorts take inbound calls
    int answeringPorts = 16;
    std::uint32_t seed = 1;
    qint64 callsPerDay = 4000;
    // When above 0, each file is padded with other events to exactly this many lines.
    qint64 linesPerFile = 0;
    bool malformedLines = true; // a few unreadable lines per file
    // The traffic offered at the busiest hours as a share of the ports (1.0
    // keeps every port busy on average, above it calls find all ports busy
    // and are refused). 0 keeps the busiest hour at most 70 % of the ports.
    double peakLoad = 0;
    // Saturday's and Sunday's traffic as a share of a weekday's (1: no difference).
    double weekendShare = 1;
    // Steady growth of the traffic, in percent per 30 days from the first day.
    double growthPercent = 0;
    QString prefix = QStringLiteral("data_qnhcmgr_");
    // Inbound callers reach only the answering ports (reserved, the server's
    // usual set-up) or any port (shared).
    bool sharedPool = false;
    // Each call takes the lowest free port instead of a random one.
    bool lowestFirst = false;
    // The share of callers who find all ports busy and try again, after two
    // minutes on average.
    double retryShare = 0;
    // When set, what really happened is written there as CSV: per UTC
    // quarter-hour of each day, the inbound calls offered (fresh and retried),
    // carried and lost, the fresh traffic offered to the ports that take
    // calls in Erlangs (inbound calls and the dial-outs that overflow onto
    // them) and the seconds all of those ports were busy.
    QString truthFile;
};

// Writes one log file per day, named prefix + yyyymmdd + ".csv", with times in
// UTC. Returns an error text, or an empty text on success.
[[nodiscard]] QString writeSampleLogs(const QString& folder, const SampleOptions& options);

} // namespace tarrow::tools
