#include "samplegenerator.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <algorithm>
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

class DaySimulation {
public:
    // `traffic` scales the day's calls (and so its Erlangs) against the
    // options' day: a weekend or a day of growth.
    DaySimulation(const SampleOptions& o, double traffic, std::mt19937& rng)
        : o_(o), traffic_(traffic), rng_(rng), busy_(o.ports + 1) {}

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
            releaseUntil(now);
            startCall(now, pickKind(unit(rng_)));
        }
        releaseUntil(INT64_MAX);
        return std::move(events_);
    }

private:
    static int pickKind(double u) {
        for (int k = 0; k < 5; ++k) {
            if (u < kKinds[k].share)
                return k;
            u -= kKinds[k].share;
        }
        return 0;
    }

    int busyCount() const {
        return static_cast<int>(std::count(busy_.begin() + 1, busy_.end(), true));
    }
    int availableCount() const {
        return static_cast<int>(
            std::count(busy_.begin() + 1, busy_.begin() + 1 + o_.answeringPorts, false));
    }

    void record(std::int64_t t, int kind, int port) {
        events_.push_back(Event{t, kind, port, busyCount(), availableCount()});
    }

    void releaseUntil(std::int64_t t) {
        while (!departures_.empty() && departures_.top().t <= t) {
            const Departure d = departures_.top();
            departures_.pop();
            busy_[static_cast<std::size_t>(d.port)] = false;
            record(d.t, -1, d.port);
        }
    }

    void startCall(std::int64_t t, int kind) {
        // Inbound calls land on answering ports, dial-outs prefer the others.
        std::vector<int> free;
        const int first = kind == 0 ? 1 : o_.answeringPorts + 1;
        const int last = kind == 0 ? o_.answeringPorts : o_.ports;
        for (int p = first; p <= last; ++p)
            if (!busy_[static_cast<std::size_t>(p)])
                free.push_back(p);
        if (free.empty() && kind != 0)
            for (int p = 1; p <= o_.ports; ++p)
                if (!busy_[static_cast<std::size_t>(p)])
                    free.push_back(p);
        if (free.empty())
            return; // all ports busy: the call is refused and leaves no trace
        std::uniform_int_distribution<std::size_t> pick(0, free.size() - 1);
        const int port = free[pick(rng_)];
        busy_[static_cast<std::size_t>(port)] = true;
        record(t, kind, port);
        std::exponential_distribution<double> length(1.0 / (kKinds[kind].meanSeconds * scale_));
        departures_.push(Departure{t + 1 + static_cast<std::int64_t>(length(rng_)), port});
    }

    const SampleOptions& o_;
    double traffic_ = 1;
    std::mt19937& rng_;
    std::vector<bool> busy_;
    std::priority_queue<Departure, std::vector<Departure>, std::greater<>> departures_;
    std::vector<Event> events_;
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
    for (int d = 0; d < o.days; ++d) {
        const QDate day = o.firstDay.addDays(d);
        const double weekend = day.dayOfWeek() >= 6 ? o.weekendShare : 1.0;
        const double growth = 1 + o.growthPercent / 100 * d / 30.0;
        const std::vector<Event> calls = DaySimulation(o, weekend * growth, rng).run();
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
    return {};
}

} // namespace tarrow::tools
