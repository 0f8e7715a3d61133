#include "samplegenerator.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <queue>
#include <random>
#include <vector>

namespace tarrow::tools {

namespace {

struct CallKind {
    const char* text;
    const char* code;
    double share;
    double meanSeconds;
};

// Inbound calls dominate; dial-outs are fewer and shorter.
constexpr CallKind kKinds[] = {
    {"NEW CALL", "1162", 0.70, 150},     {"NOTIFICATION DIAL OUT", "1164", 0.10, 45},
    {"MWI DIAL OUT", "30300", 0.12, 8},  {"TRAP DIAL OUT", "1165", 0.04, 20},
    {"AMIS DIAL OUT", "1164", 0.04, 90},
};

// Relative call rate by hour of the day: quiet night, busy office hours.
constexpr double kHourly[24] = {0.05, 0.04, 0.03, 0.03, 0.04, 0.08, 0.2,  0.5,
                                0.9,  1.0,  1.0,  0.95, 0.8,  0.9,  1.0,  1.0,
                                0.9,  0.6,  0.35, 0.25, 0.18, 0.12, 0.08, 0.06};

struct Event {
    std::int64_t t = 0; // seconds of the day, UTC
    int kind = -1;      // index into kKinds, or -1 for a disconnect
    int port = 0;
    int inUse = 0;
    int available = 0;
};

struct Departure {
    std::int64_t t;
    int port;
    bool operator>(const Departure& o) const { return t > o.t; }
};

// A caller trying again after finding all ports busy.
struct Retry {
    std::int64_t t;
    std::int64_t seconds; // the call's length, should it get through
    bool operator>(const Retry& o) const { return t > o.t; }
};

constexpr int kQuarters = 96;
constexpr double kRetryDelaySeconds = 120;

// What really happened on the pool in each UTC quarter-hour of a day.
struct QuarterTruth {
    qint64 fresh = 0;
    qint64 retries = 0;
    qint64 carried = 0;
    qint64 lost = 0;
    double freshSeconds = 0; // the lengths of the fresh calls offered to the pool
    qint64 atbSeconds = 0;
};

class DaySimulation {
public:
    // `traffic` scales the day's calls (and so its Erlangs) against the
    // options' day: a weekend or a day of growth.
    DaySimulation(const SampleOptions& o, double traffic, std::mt19937& rng)
        : o_(o), traffic_(traffic), rng_(rng), busy_(o.ports + 1),
          poolPorts_(o.sharedPool ? o.ports : o.answeringPorts) {}

    std::vector<Event> run() {
        double weightSeconds = 0;
        for (double w : kHourly)
            weightSeconds += w * 3600;
        const double peakRate = static_cast<double>(o_.callsPerDay) / weightSeconds;
        double meanDuration = 0;
        for (const CallKind& k : kKinds)
            meanDuration += k.share * k.meanSeconds;
        // Unless asked for a load, keep the busiest hour at about 70% of the
        // ports so few calls are refused; a load sets the call lengths.
        const double offered = peakRate * meanDuration;
        scale_ = o_.peakLoad > 0 ? o_.peakLoad * o_.ports / offered
                                 : std::min(1.0, 0.7 * o_.ports / offered);

        std::exponential_distribution<double> gap(peakRate * traffic_);
        std::uniform_real_distribution<double> unit(0, 1);
        double t = 0;
        while (true) {
            t += gap(rng_);
            if (t >= 86400)
                break;
            if (unit(rng_) > kHourly[static_cast<int>(t) / 3600])
                continue; // thinning gives the hourly profile
            const auto now = static_cast<std::int64_t>(t);
            retryUntil(now);
            releaseUntil(now);
            const int kind = pickKind(unit(rng_));
            const std::int64_t seconds = callLength(kind);
            if (kind == 0) {
                QuarterTruth& q = truth_[static_cast<std::size_t>(now / 900)];
                ++q.fresh;
                q.freshSeconds += static_cast<double>(seconds);
            }
            startCall(now, kind, seconds);
        }
        retryUntil(86400);
        releaseUntil(INT64_MAX);
        return std::move(events_);
    }

    [[nodiscard]] const std::array<QuarterTruth, kQuarters>& truth() const { return truth_; }

private:
    static int pickKind(double u) {
        for (int k = 0; k < 5; ++k) {
            if (u < kKinds[k].share)
                return k;
            u -= kKinds[k].share;
        }
        return 0;
    }

    std::int64_t callLength(int kind) {
        std::exponential_distribution<double> length(1.0 / (kKinds[kind].meanSeconds * scale_));
        return 1 + static_cast<std::int64_t>(length(rng_));
    }

    int busyCount() const {
        return static_cast<int>(std::count(busy_.begin() + 1, busy_.end(), true));
    }
    int availableCount() const {
        return static_cast<int>(
            std::count(busy_.begin() + 1, busy_.begin() + 1 + poolPorts_, false));
    }

    void record(std::int64_t t, int kind, int port) {
        const int available = availableCount();
        events_.push_back(Event{t, kind, port, busyCount(), available});
        // The seconds of the day the pool had no port free.
        if (available == 0 && atbFrom_ < 0) {
            atbFrom_ = t;
        } else if (available > 0 && atbFrom_ >= 0) {
            for (std::int64_t s = atbFrom_; s < std::min<std::int64_t>(t, 86400); ++s)
                ++truth_[static_cast<std::size_t>(s / 900)].atbSeconds;
            atbFrom_ = -1;
        }
    }

    void releaseUntil(std::int64_t t) {
        while (!departures_.empty() && departures_.top().t <= t) {
            const Departure d = departures_.top();
            departures_.pop();
            busy_[static_cast<std::size_t>(d.port)] = false;
            record(d.t, -1, d.port);
        }
    }

    // The callers trying again before t, each in turn.
    void retryUntil(std::int64_t t) {
        while (!retries_.empty() && retries_.top().t < t) {
            const Retry r = retries_.top();
            retries_.pop();
            releaseUntil(r.t);
            ++truth_[static_cast<std::size_t>(r.t / 900)].retries;
            startCall(r.t, 0, r.seconds);
        }
    }

    void startCall(std::int64_t t, int kind, std::int64_t seconds) {
        // Inbound calls land on answering ports, dial-outs prefer the others;
        // a shared pool lets every call take any port.
        std::vector<int> free;
        const bool anyPort = o_.sharedPool;
        const int first = kind == 0 || anyPort ? 1 : o_.answeringPorts + 1;
        const int last = kind == 0 && !anyPort ? o_.answeringPorts : o_.ports;
        for (int p = first; p <= last; ++p)
            if (!busy_[static_cast<std::size_t>(p)])
                free.push_back(p);
        QuarterTruth& q = truth_[static_cast<std::size_t>(t / 900)];
        if (free.empty() && kind != 0) {
            // A dial-out its own ports cannot take is offered to the pool.
            if (!anyPort && t < 86400)
                q.freshSeconds += static_cast<double>(seconds);
            for (int p = 1; p <= o_.ports; ++p)
                if (!busy_[static_cast<std::size_t>(p)])
                    free.push_back(p);
        }
        if (free.empty()) {
            // All ports busy: the call is refused and leaves no trace; a
            // caller may try again.
            if (kind != 0)
                return;
            ++q.lost;
            std::uniform_real_distribution<double> unit(0, 1);
            if (unit(rng_) < o_.retryShare) {
                std::exponential_distribution<double> delay(1.0 / kRetryDelaySeconds);
                const std::int64_t when = t + 1 + static_cast<std::int64_t>(delay(rng_));
                if (when < 86400)
                    retries_.push(Retry{when, seconds});
            }
            return;
        }
        if (kind == 0)
            ++q.carried;
        std::size_t chosen = 0;
        if (!o_.lowestFirst) {
            std::uniform_int_distribution<std::size_t> pick(0, free.size() - 1);
            chosen = pick(rng_);
        }
        const int port = free[chosen];
        busy_[static_cast<std::size_t>(port)] = true;
        record(t, kind, port);
        departures_.push(Departure{t + seconds, port});
    }

    const SampleOptions& o_;
    double traffic_ = 1;
    std::mt19937& rng_;
    std::vector<bool> busy_;
    int poolPorts_ = 0;
    std::priority_queue<Departure, std::vector<Departure>, std::greater<>> departures_;
    std::priority_queue<Retry, std::vector<Retry>, std::greater<>> retries_;
    std::vector<Event> events_;
    std::array<QuarterTruth, kQuarters> truth_{};
    std::int64_t atbFrom_ = -1;
    double scale_ = 1;
};

QByteArray stamp(const QDate& day, std::int64_t secondOfDay) {
    const QDateTime t = QDateTime(day, QTime(0, 0), QTimeZone::utc()).addSecs(secondOfDay);
    return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
}

QByteArray callLine(const QDate& day, const Event& e) {
    const char* text = e.kind < 0 ? "CALL DISCONNECT" : kKinds[e.kind].text;
    const char* code = e.kind < 0 ? "1163" : kKinds[e.kind].code;
    char buf[160];
    const int n = std::snprintf(buf, sizeof buf, ",HcMgr,%s,%s,Port%d,%d,%d,0\r\n", code, text,
                                e.port, e.inUse, e.available);
    return stamp(day, e.t) + QByteArray(buf, n);
}

QByteArray otherLine(const QDate& day, std::int64_t t, qint64 i) {
    static const char* const kOther[] = {
        ",HcMgr,1162,PORT STATUS,Port0,0,0,0\r\n",
        ",HcMgr,2210,HEARTBEAT,Sys 0,0,0,0\r\n",
        ",HcMgr,1163,Line Check,Port1,0,0,0\r\n",
        ",QnLogMgr,4001,DATA COLLECTION\r\n",
    };
    return stamp(day, t) + kOther[i % 4];
}

QList<QByteArray> malformedLines(const QDate& day) {
    return {
        QByteArrayLiteral("### log rotated ###\r\n"),
        QByteArrayLiteral("31/31/2026 99:00:00,HcMgr,1162,NEW CALL,Port3,1,15,0\r\n"),
        stamp(day, 43200) + QByteArrayLiteral(",HcMgr,1162,NEW CALL,P3,1,15,0\r\n"),
        stamp(day, 43260) + QByteArrayLiteral(",HcMgr,1162,NEW CALL,Port99999,1,15,0\r\n"),
    };
}

} // namespace

QString writeSampleLogs(const QString& folder, const SampleOptions& o) {
    if (!QDir().mkpath(folder))
        return QStringLiteral("Cannot create %1").arg(folder);
    std::mt19937 rng(o.seed);
    QByteArray truth = "Day,QuarterHour,StartUtc,FreshCalls,RetriedCalls,CarriedCalls,LostCalls,"
                       "OfferedErlangs,AtbSeconds\n";
    for (int d = 0; d < o.days; ++d) {
        const QDate day = o.firstDay.addDays(d);
        const double weekend = day.dayOfWeek() >= 6 ? o.weekendShare : 1.0;
        const double growth = 1 + o.growthPercent / 100 * d / 30.0;
        DaySimulation simulation(o, weekend * growth, rng);
        const std::vector<Event> calls = simulation.run();
        for (int q = 0; q < kQuarters; ++q) {
            const QuarterTruth& t = simulation.truth()[static_cast<std::size_t>(q)];
            truth += day.toString(Qt::ISODate).toLatin1() + ',' + QByteArray::number(q) + ',' +
                     stamp(day, q * 900).replace(' ', 'T') + "Z," + QByteArray::number(t.fresh) +
                     ',' + QByteArray::number(t.retries) + ',' + QByteArray::number(t.carried) +
                     ',' + QByteArray::number(t.lost) + ',' +
                     QByteArray::number(t.freshSeconds / 900, 'f', 4) + ',' +
                     QByteArray::number(t.atbSeconds) + '\n';
        }
        const QList<QByteArray> bad = o.malformedLines ? malformedLines(day) : QList<QByteArray>{};
        const qint64 fixed = static_cast<qint64>(calls.size()) + bad.size();
        const qint64 others = o.linesPerFile > 0 ? std::max<qint64>(0, o.linesPerFile - fixed)
                                                 : static_cast<qint64>(calls.size()) / 10;
        QFile file(QDir(folder).filePath(o.prefix + day.toString(QStringLiteral("yyyyMMdd")) +
                                         QStringLiteral(".csv")));
        if (!file.open(QIODevice::WriteOnly))
            return file.errorString();
        QByteArray out;
        out.reserve(1 << 20);
        std::size_t next = 0;
        qint64 badAt = 0;
        for (qint64 i = 0; i < others || next < calls.size(); ++i) {
            const std::int64_t t = i < others ? i * 86400 / std::max<qint64>(others, 1) : INT64_MAX;
            while (next < calls.size() && calls[next].t <= t)
                out += callLine(day, calls[next++]);
            if (i < others)
                out += otherLine(day, t, i);
            if (badAt < bad.size() && i == (badAt + 1) * others / (bad.size() + 1))
                out += bad[badAt++];
            if (out.size() > (1 << 20)) {
                file.write(out);
                out.clear();
            }
        }
        while (badAt < bad.size())
            out += bad[badAt++];
        file.write(out);
        if (!file.flush())
            return file.errorString();
    }
    if (!o.truthFile.isEmpty()) {
        QFile file(o.truthFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(truth) != truth.size() || !file.flush())
            return file.errorString();
    }
    return {};
}

} // namespace tarrow::tools
