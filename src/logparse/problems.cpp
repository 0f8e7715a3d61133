#include "logparse/problems.h"

namespace tarrow::logparse {

namespace {

QString describe(ProblemKind kind, qint64 count) {
    const bool one = count == 1;
    switch (kind) {
    case ProblemKind::NotADate:
        return one ? QStringLiteral("1 line whose date and time could not be read")
                   : QStringLiteral("%1 lines whose date and time could not be read").arg(count);
    case ProblemKind::ShortPortToken:
        return one ? QStringLiteral("1 line whose port field is shorter than four characters")
                   : QStringLiteral("%1 lines whose port field is shorter than four characters")
                         .arg(count);
    case ProblemKind::NegativePort:
        return one ? QStringLiteral("1 line with a negative port number")
                   : QStringLiteral("%1 lines with a negative port number").arg(count);
    case ProblemKind::NumberTooLarge:
        return one ? QStringLiteral("1 line with a port or line count too large to read")
                   : QStringLiteral("%1 lines with a port or line count too large to read")
                         .arg(count);
    case ProblemKind::UnreadableFile:
        return one ? QStringLiteral("1 log file that could not be read")
                   : QStringLiteral("%1 log files that could not be read").arg(count);
    case ProblemKind::TooManyLines:
        return one ? QStringLiteral("1 log file with more than 1,000,000 lines, not loaded")
                   : QStringLiteral("%1 log files with more than 1,000,000 lines, not loaded")
                         .arg(count);
    }
    return {};
}

} // namespace

void ProblemLog::add(ProblemKind kind, const QString& file, qint64 line) {
    Entry& entry = entries_[kind];
    ++entry.count;
    if (entry.places.size() < kPlacesKept)
        entry.places.append(ProblemPlace{file, line});
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
            where << (place.line > 0 ? QStringLiteral("%1:%2").arg(place.file).arg(place.line)
                                     : place.file);
        if (entry.count > entry.places.size())
            where << QStringLiteral("...");
        text += describe(kind, entry.count) + QStringLiteral(" (") +
                where.join(QStringLiteral(", ")) + QStringLiteral(")") + crlf;
    }
    return text;
}

} // namespace tarrow::logparse
