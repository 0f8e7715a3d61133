#include "logparse/problems.h"

#include "logparse/readlogfile.h"
#include "platform/shownpath.h"

namespace tarrow::logparse {

namespace {

// "<count> <what>": the thing counted (line or log file, made plural past
// one) and what was wrong with it.
QString describe(ProblemKind kind, qint64 count) {
    const auto counted = [count](const char* thing, const char* wrong) {
        return QStringLiteral("%1 %2%3 %4")
            .arg(count)
            .arg(QLatin1String(thing), count == 1 ? QString() : QStringLiteral("s"),
                 QLatin1String(wrong));
    };
    switch (kind) {
    case ProblemKind::NotADate:
        return counted("line", "whose date and time could not be read");
    case ProblemKind::ShortPortToken:
        return counted("line", "whose port field is shorter than four characters");
    case ProblemKind::NegativePort:
        return counted("line", "with a negative port number");
    case ProblemKind::NumberTooLarge:
        return counted("line", "with a port or line count too large to read");
    case ProblemKind::UnreadableFile:
        return counted("log file", "that could not be read");
    case ProblemKind::NotAFile:
        return counted("log file", "skipped as no regular file (a FIFO, device or socket)");
    case ProblemKind::ChangedWhileRead:
        return counted("log file", "cut short while it was read (loaded as far as it went)");
    case ProblemKind::TooManyLines:
        return counted("log file", "with more than 1,000,000 lines, not loaded");
    case ProblemKind::TooLarge:
        return counted("log file", "too large for a log (over %1 MB), not read")
            .arg(kMaxLogFileBytes >> 20);
    }
    return {};
}

} // namespace

void ProblemLog::add(ProblemKind kind, const QString& file, qint64 line, const QString& reason) {
    Entry& entry = entries_[kind];
    ++entry.count;
    if (entry.places.size() < kPlacesKept)
        entry.places.append(ProblemPlace{file, line, reason});
}

void ProblemLog::merge(const ProblemLog& other) {
    for (const auto& [kind, theirs] : other.entries_) {
        Entry& entry = entries_[kind];
        entry.count += theirs.count;
        for (const ProblemPlace& place : theirs.places)
            if (entry.places.size() < kPlacesKept)
                entry.places.append(place);
    }
}

qint64 ProblemLog::count(ProblemKind kind) const {
    const auto it = entries_.find(kind);
    return it == entries_.end() ? 0 : it->second.count;
}

QList<ProblemPlace> ProblemLog::places(ProblemKind kind) const {
    const auto it = entries_.find(kind);
    return it == entries_.end() ? QList<ProblemPlace>{} : it->second.places;
}

QString ProblemLog::summary() const {
    if (entries_.empty())
        return {};
    const QString crlf = QStringLiteral("\r\n");
    QString text = QStringLiteral("Some log data could not be read and was skipped:") + crlf;
    for (const auto& [kind, entry] : entries_) {
        QStringList where;
        for (const ProblemPlace& place : entry.places)
            where << (place.line > 0 ? QStringLiteral("%1:%2")
                                           .arg(platform::shownName(place.file))
                                           .arg(place.line)
                      : place.reason.isEmpty()
                          ? platform::shownName(place.file)
                          : QStringLiteral("%1: %2").arg(platform::shownName(place.file),
                                                         place.reason));
        if (entry.count > entry.places.size())
            where << QStringLiteral("...");
        text += describe(kind, entry.count) + QStringLiteral(" (") +
                where.join(QStringLiteral(", ")) + QStringLiteral(")") + crlf;
    }
    return text;
}

} // namespace tarrow::logparse
