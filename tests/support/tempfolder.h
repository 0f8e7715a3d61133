#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace tarrow::testing {

// A temporary folder holding log files and a working database for one test.
class TempFolder {
public:
    TempFolder();
    [[nodiscard]] QString path() const { return dir_.path(); }
    [[nodiscard]] QString file(const QString& name) const;
    // Writes a file (and its folders); returns its full path.
    QString write(const QString& name, const QByteArray& bytes) const;
    // Writes the empty template database into the folder; returns its path.
    QString writeTemplate(const QString& folder = {}) const;

private:
    QTemporaryDir dir_;
};

// "YYYY-MM-DD hh:mm:ss" of a second of the given day ("2009-01-15").
QByteArray logTime(const char* day, int secondOfDay);

// A log line of seven fields plus one ignored field.
QByteArray logLine(const char* utc, const char* code, const char* text, const char* port, int inUse,
                   int available);

} // namespace tarrow::testing
