#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace tarrow::reports {

struct SummaryColumn {
    QString key; // cells are found by key, without regard to case
    int widthTwips = 0;
    QString header;
};

// What a summary grid shows and how it is saved as CSV.
struct SummaryLayout {
    QList<SummaryColumn> columns;
    QString csvHeader;        // the first line of the CSV file
    QStringList csvValueKeys; // the columns written after the row number, in order
    QString filePrefix;       // default file name prefix, without a folder
};

// The texts of a summary grid, one list of cell texts per row in column order.
struct SummaryTable {
    SummaryLayout layout;
    QList<QStringList> rows;
    QStringList notices; // messages to show once the grid is filled

    // Index of the column with this key, ignoring case; -1 when there is none.
    [[nodiscard]] int column(const QString& key) const;
};

// The CSV bytes: the header line, then per grid row its number (from 1) and the
// value columns' texts without surrounding blanks; lines end with CR LF.
[[nodiscard]] QByteArray summaryCsv(const SummaryTable& table);

// The keys of the call-type columns in the order the grids show them.
[[nodiscard]] QStringList callTypeKeys();

} // namespace tarrow::reports
