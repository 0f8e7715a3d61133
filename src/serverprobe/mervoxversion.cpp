#include "serverprobe/mervoxversion.h"

#include <QSysInfo>

namespace tarrow::serverprobe {

namespace {

const QString kNewerKey = QStringLiteral("SOFTWARE\\Orvane Systems\\Orvane Mervox");
const QString kOlderKey = QStringLiteral("Software\\Quenta\\");
const QString kOlderLogKey = QStringLiteral("SOFTWARE\\Quenta\\QnLogMgr\\1.0");
const QString kLastDataFile = QStringLiteral("System.Reports.DataCollection.OmHcMgr_LastDataFile");

QString failure(const ProbeError& e, const QString& prefix, const QString& procedure,
                const QString& module) {
    return prefix + QString::number(e.number) + QStringLiteral(" (") + e.description +
           QStringLiteral(") in procedure ") + procedure + QStringLiteral(" of Module ") + module;
}

// Reads a group of characters as a decimal number, stopping at the first
// character that is not a decimal digit.
std::int16_t decimalPrefix(const QString& digits) {
    int value = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = value * 10 + (c.unicode() - '0');
    }
    return static_cast<std::int16_t>(value);
}

// The parent folder of a path: the path without its last component. A path
// ending in a separator names a folder, which is itself the answer.
QString parentFolder(const QString& path) {
    const QString& p = path;
    if (p.endsWith(QLatin1Char('\\')) || p.endsWith(QLatin1Char('/')))
        return p.left(p.size() - 1);
    const qsizetype cut =
        std::max(p.lastIndexOf(QLatin1Char('\\')), p.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? QString() : p.left(cut);
}

std::int16_t numberValue(const RegistryApi& registry, const QString& key, const QString& name) {
    return static_cast<std::int16_t>(
        registry.readValue(Hive::LocalMachine, key, name, NumberValue, 0).toUInt());
}

} // namespace

ServerVersion getVersion(const RegistryApi& registry, QStringList& messages) {
    ServerVersion v;
    try {
        if (registry.keyExists(Hive::LocalMachine, kNewerKey)) {
            v.major = numberValue(registry, kNewerKey, QStringLiteral("MajorVersion"));
            v.minor = numberValue(registry, kNewerKey, QStringLiteral("MinorVersion"));
            v.build = numberValue(registry, kNewerKey, QStringLiteral("BuildVersion"));
            v.release = numberValue(registry, kNewerKey, QStringLiteral("ReleaseVersion"));
            v.newerGeneration = true;
        } else {
            const auto hex = [&](const QString& name) {
                const quint32 n =
                    registry.readValue(Hive::LocalMachine, kOlderKey, name, NumberValue, 0)
                        .toUInt();
                return QStringLiteral("%1").arg(n, 8, 16, QLatin1Char('0')).toUpper();
            };
            const QString version = hex(QStringLiteral("Version Number"));
            const QString build = hex(QStringLiteral("Build Number"));
            v.major = decimalPrefix(version.left(4));
            v.minor = decimalPrefix(version.right(4));
            v.release = decimalPrefix(build.left(4));
            v.build = static_cast<std::int16_t>(build.right(4).toUShort(nullptr, 16));
        }
    } catch (const ProbeError& e) {
        messages << failure(e, QStringLiteral("(error):"), QStringLiteral("getVersion"),
                            QStringLiteral("MervoxVersion"));
    }
    v.text = QStringLiteral("%1.%2(%3.%4)").arg(v.major).arg(v.minor).arg(v.release).arg(v.build);
    return v;
}

QString configConnectionString(const QString& computerName) {
    return QStringLiteral("Driver={SQL Server};server=") + computerName +
           QStringLiteral("\\orvanemervox;database=MervoxDirDB");
}

QString strFetchConfigKey(const QString& fullName, const ServerVersion& version,
                          ConfigDatabase& config, QStringList& messages) {
    if (!version.newerGeneration)
        return {};
    try {
        const QStringList rows =
            config.values(configConnectionString(QSysInfo::machineHostName()), fullName);
        if (rows.size() == 1)
            return rows.first();
    } catch (const ProbeError& e) {
        messages << failure(e, QStringLiteral("Error "), QStringLiteral("strFetchConfigKey"),
                            QStringLiteral("Module1"));
    }
    return {};
}

QString strGetLogPath(const ServerVersion& version, const RegistryApi& registry,
                      ConfigDatabase& config, QStringList& messages) {
    QString value;
    if (version.newerGeneration) {
        value = strFetchConfigKey(kLastDataFile, version, config, messages);
    } else {
        try {
            value = registry
                        .readValue(Hive::LocalMachine, kOlderLogKey, QStringLiteral("Output Path"),
                                   TextValue, QString())
                        .toString();
        } catch (const ProbeError& e) {
            messages << failure(e, QStringLiteral("Error "), QStringLiteral("strGetLogPath"),
                                QStringLiteral("MervoxVersion"));
        }
    }
    return value.isEmpty() ? QString() : parentFolder(value);
}

} // namespace tarrow::serverprobe
