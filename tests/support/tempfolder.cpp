#include "support/tempfolder.h"

#include "store/schema.h"
#include "store/workingdatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <SQLiteCpp/Database.h>

namespace tarrow::testing {

TempFolder::TempFolder() = default;

QString TempFolder::file(const QString& name) const {
    return QDir(dir_.path()).filePath(name);
}

QString TempFolder::write(const QString& name, const QByteArray& bytes) const {
    const QString path = file(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        qFatal("cannot write test file");
    return path;
}

QString TempFolder::writeTemplate(const QString& folder) const {
    const QString dir = folder.isEmpty() ? dir_.path() : folder;
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(store::templateFileName());
    store::writeTemplateFile(QFile::encodeName(path).toStdString());
    return path;
}

QByteArray logTime(const char* day, int secondOfDay) {
    return QStringLiteral("%1 %2:%3:%4")
        .arg(QLatin1String(day))
        .arg(secondOfDay / 3600, 2, 10, QLatin1Char('0'))
        .arg(secondOfDay / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(secondOfDay % 60, 2, 10, QLatin1Char('0'))
        .toLatin1();
}

QByteArray logLine(const char* utc, const char* code, const char* text, const char* port, int inUse,
                   int available) {
    return QByteArray(utc) + ",HcMgr," + code + ',' + text + ',' + port + ',' +
           QByteArray::number(inUse) + ',' + QByteArray::number(available) + ",0\r\n";
}

} // namespace tarrow::testing
