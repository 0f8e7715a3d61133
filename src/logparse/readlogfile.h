#pragma once

#include <QByteArray>
#include <QString>

namespace tarrow::logparse {

// What reading a log file gave.
enum class ReadOutcome {
    Read,       // every byte the file had
    Changed,    // the file shrank while it was read: the bytes read are kept
    NotAFile,   // a FIFO, device, socket or folder: never opened for reading
    Unreadable, // could not be opened or read
};

struct LogFileBytes {
    QByteArray bytes;
    ReadOutcome outcome = ReadOutcome::Read;
    QString error; // why, when unreadable
};

// Reads a whole log file into memory. The file is read, not mapped, so one
// that is truncated or replaced while it is read cannot bring the program
// down; a node that is not a regular file is recognised before any read that
// could block on it.
// The path is in the system's own bytes (QFile::encodeName).
[[nodiscard]] LogFileBytes readLogFile(const QByteArray& nativePath);

} // namespace tarrow::logparse
