#pragma once

#include <QString>
#include <QStringList>

#include <map>

namespace tarrow::logparse {

// Kinds of input that a load skips. Each is reported once after the load with
// its count and the first few places where it occurred.
enum class ProblemKind {
    NotADate,         // field 0 is not a date and time
    ShortPortToken,   // field 4 is shorter than four characters
    NegativePort,     // the port number is below 0
    NumberTooLarge,   // a port or line count does not fit 16 bits
    UnreadableFile,   // a log file could not be opened or read
    NotAFile,         // named like a log file but a FIFO, device, socket or folder
    ChangedWhileRead, // a log file shrank while it was read: what was read is loaded
    TooManyLines,     // a log file has more than 1,000,000 lines
    TooLarge,         // a log file is larger than any log could be: never read
};

struct ProblemPlace {
    QString file;     // file name without its folder
    qint64 line = 0;  // 1-based; 0 for a problem of the whole file
    QString reason{}; // what the system said, for a file that could not be read
};

// Collects problems by kind; keeps every count and the first few places.
class ProblemLog {
public:
    static constexpr int kPlacesKept = 5;

    void add(ProblemKind kind, const QString& file, qint64 line, const QString& reason = {});
    void merge(const ProblemLog& other);
    [[nodiscard]] bool isEmpty() const { return entries_.empty(); }
    [[nodiscard]] qint64 count(ProblemKind kind) const;
    [[nodiscard]] QList<ProblemPlace> places(ProblemKind kind) const;

    // One text naming each kind with its count and first places, lines ended
    // by CR LF; empty when nothing went wrong.
    [[nodiscard]] QString summary() const;

private:
    struct Entry {
        qint64 count = 0;
        QList<ProblemPlace> places;
    };
    std::map<ProblemKind, Entry> entries_;
};

} // namespace tarrow::logparse
