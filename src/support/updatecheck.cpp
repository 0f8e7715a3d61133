#include "support/updatecheck.h"

#include "support/httpget.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace tarrow::support {

namespace {

// Scheme and host of the built-in tools site: 30 characters, in a domain
// reserved for examples.
const QString kDefaultOrigin = QStringLiteral("http://www.orvanetools.example");
const QString kHomePath = QStringLiteral("/Applications/Mervox/Tarrow/Tarrow.html");

bool isVersionChar(QChar c) {
    return c.isDigit() || c == QLatin1Char('.');
}

} // namespace

QString ToolsSite::homePage() const {
    return origin + kHomePath;
}
QString ToolsSite::downloadList() const {
    return origin + QStringLiteral("/SiteList/AllDownloads/AllDownloads.XML");
}
QString ToolsSite::host() const {
    return QUrl(origin).host();
}

ToolsSite defaultToolsSite() {
    const QString override = qEnvironmentVariable("TARROW_TOOLS_SITE");
    return ToolsSite{override.isEmpty() ? kDefaultOrigin : override};
}

QString ownVersionText() {
    return QStringLiteral("%1.%2.%3")
        .arg(TARROW_VERSION_MAJOR)
        .arg(TARROW_VERSION_MINOR)
        .arg(TARROW_VERSION_BUILD);
}

QString aboutVersionText() {
    // Numbers printed the old way keep the blank that stands for their sign.
    return QStringLiteral(" %1.%2 Build %3")
        .arg(TARROW_VERSION_MAJOR)
        .arg(TARROW_VERSION_MINOR)
        .arg(TARROW_VERSION_BUILD);
}

QString PadVersionString(const QString& version, QStringList& messages) {
    if (version.size() < 4)
        return {};
    if (!version.contains(QLatin1Char('.'))) {
        messages << QStringLiteral("(error):9 (Subscript out of range) in procedure "
                                   "PadVersionString of Module modUpdateCheck");
        return {};
    }
    QStringList parts = version.split(QLatin1Char('.'));
    for (QString& part : parts) {
        bool number = false;
        part.toULongLong(&number);
        if (number && part.size() < 4)
            part = part.rightJustified(4, QLatin1Char('0'));
    }
    return parts.join(QLatin1Char('.'));
}

QString postedVersion(const QString& list, const QString& homePath, const QString& linkText,
                      QStringList& messages) {
    const QString key = (linkText.size() > 1 ? linkText : QString()) + QLatin1Char('^') + homePath +
                        QStringLiteral("^ifram_a");
    const qsizetype at = list.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    const qsizetype cell = list.indexOf(QStringLiteral("<cell>"), at, Qt::CaseInsensitive);
    if (cell < 0)
        return {};
    QString version;
    for (qsizetype i = cell + 6; i < list.size() && isVersionChar(list.at(i)); ++i)
        version += list.at(i);
    return PadVersionString(version, messages);
}

UrlText fetchUrlText(const QString& address, int timeoutMs, qint64 maxBytes) {
    HttpLimits limits;
    limits.timeoutMs = timeoutMs;
    limits.maxBytes = maxBytes;
    QString why;
    const std::optional<QByteArray> body = httpGet(QUrl(address), limits, &why);
    return body ? UrlText(QString::fromLocal8Bit(*body)) : UrlText({}, why);
}

QString GetUrlText(const QString& address, int timeoutMs, qint64 maxBytes) {
    return fetchUrlText(address, timeoutMs, maxBytes).text;
}

DownloadCanceller* cancelDownloads() {
    static DownloadCanceller canceller;
    return &canceller;
}

QString GetWebVersion(const ToolsSite& site, const QString& homePage, const QString& linkText,
                      const UrlFetcher& fetch, QStringList& messages, QString* why) {
    QString reason;
    const auto none = [&why](const QString& because) {
        if (why)
            *why = because;
        return QString();
    };
    if (homePage.size() < site.origin.size())
        return none(QStringLiteral("the home page address names no page"));
    const UrlText list = fetch(site.downloadList());
    if (!list.why.isEmpty())
        return none(list.why);
    if (list.text.size() < 10)
        return none(QStringLiteral("the answer is not a download list"));
    const QString posted =
        postedVersion(list.text, homePage.mid(site.origin.size()), linkText, messages);
    return posted.isEmpty()
               ? none(QStringLiteral("the download list names no version of this tool"))
               : posted;
}

UpdateCheck checkForUpdatedVersion(const ToolsSite& site, const QString& homePage,
                                   const QString& linkText, const UrlFetcher& fetch) {
    UpdateCheck check;
    QString why;
    const QString posted = GetWebVersion(site, homePage, linkText, fetch, check.failures, &why);
    const QString own = PadVersionString(ownVersionText(), check.failures);
    if (posted.isEmpty()) {
        check.outcome = UpdateOutcome::Unreachable;
        check.message =
            QStringLiteral("Unable to contact application home page to check for version (%1).  "
                           "You can access the home page and check for updated versions of all "
                           "Orvane Mervox tools by going to ")
                .arg(why) +
            site.host();
    } else if (own < posted) {
        check.outcome = UpdateOutcome::NewerPosted;
        check.message = QStringLiteral("An updated version of this tool is available on ") +
                        site.host() + QLatin1Char('.');
    } else {
        check.outcome = UpdateOutcome::UpToDate;
        check.message =
            QStringLiteral("You have the most up to date version of this tool installed");
    }
    return check;
}

QString updateAvailableCaption() {
    return QStringLiteral("Updated version is available");
}

QString openHomePageQuestion() {
    return QStringLiteral("  Click OK to open the application home page now");
}

bool checkForUpdatedVersion_Background(const QString& programFolder, const QString& homePage,
                                       const QString& linkText) {
    QStringList arguments{ownVersionText(), homePage};
    if (linkText.size() > 1)
        arguments << linkText;
#ifdef _WIN32
    const QString command = QDir(programFolder).filePath(QStringLiteral("test.bat"));
    if (!QFileInfo::exists(command))
        return false;
    return QProcess::startDetached(
        QStringLiteral("cmd.exe"),
        QStringList{QStringLiteral("/c"), QDir::toNativeSeparators(command)} + arguments,
        programFolder);
#else
    const QFileInfo command(QDir(programFolder).filePath(QStringLiteral("test.sh")));
    if (!command.isFile() || !command.isExecutable())
        return false;
    return QProcess::startDetached(command.absoluteFilePath(), arguments, programFolder);
#endif
}

} // namespace tarrow::support
