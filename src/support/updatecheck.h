#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

namespace tarrow::support {

// The tools web site: its scheme and host (30 characters for the built-in
// address; TARROW_TOOLS_SITE replaces it), the tool's home page and the list
// of downloads posted there.
struct ToolsSite {
    QString origin;
    [[nodiscard]] QString homePage() const;
    [[nodiscard]] QString downloadList() const;
    [[nodiscard]] QString host() const;
};

[[nodiscard]] ToolsSite defaultToolsSite();

// This program's version as major.minor.revision, for example 2.0.5.
[[nodiscard]] QString ownVersionText();
// The About window's version text, for example " 2.0 Build 5".
[[nodiscard]] QString aboutVersionText();

// Every point-separated component with at least four digits (2.0.5 becomes
// 0002.0000.0005); empty for a text under four characters. A longer text
// without a point cannot be split: a message is added and the result is empty.
[[nodiscard]] QString PadVersionString(const QString& version, QStringList& messages);

// The padded version posted for the home page path in a download list: the
// digits and points right behind the first "<cell>" at or after the lookup key
// "^<path>^ifram_a" (with a link text, "<link>^<path>^ifram_a"); empty when the
// list does not hold it.
[[nodiscard]] QString postedVersion(const QString& list, const QString& homePath,
                                    const QString& linkText, QStringList& messages);

// The text at an address, or why there is none.
struct UrlText {
    UrlText(QString text = {}, QString why = {}) : text(std::move(text)), why(std::move(why)) {}
    QString text;
    QString why; // empty when the text came
};

// Fetches the text at an address; an empty text when it cannot be had.
using UrlFetcher = std::function<UrlText(const QString& address)>;

// The text over HTTP: at most maxBytes of the body, and nothing after
// timeoutMs; needs a running Qt core application. Redirects are followed
// within the same host only.
[[nodiscard]] UrlText fetchUrlText(const QString& address, int timeoutMs = 15000,
                                   qint64 maxBytes = 1 << 20);
[[nodiscard]] QString GetUrlText(const QString& address, int timeoutMs = 15000,
                                 qint64 maxBytes = 1 << 20);

// Ends every download under way, as if it had failed: the program is closing.
class DownloadCanceller : public QObject {
    Q_OBJECT
signals:
    void cancel();
};
[[nodiscard]] DownloadCanceller* cancelDownloads();

// The version posted for the home page, or empty and why in `why`.
[[nodiscard]] QString GetWebVersion(const ToolsSite& site, const QString& homePage,
                                    const QString& linkText, const UrlFetcher& fetch,
                                    QStringList& messages, QString* why = nullptr);

enum class UpdateOutcome { UpToDate, NewerPosted, Unreachable };

struct UpdateCheck {
    UpdateOutcome outcome = UpdateOutcome::Unreachable;
    QString message;      // what the user is told
    QStringList failures; // messages of failed steps, shown before it
};

// The foreground check's outcome and message; asking and opening the home page
// is left to the caller.
[[nodiscard]] UpdateCheck checkForUpdatedVersion(const ToolsSite& site, const QString& homePage,
                                                 const QString& linkText, const UrlFetcher& fetch);

[[nodiscard]] QString updateAvailableCaption();
// What the window adds to a newer version's message, asking to open the page.
[[nodiscard]] QString openHomePageQuestion();

// Starts the start-up command of the program folder ("test.bat" on Windows, an
// executable "test.sh" elsewhere) with the version and home page address as
// arguments, without waiting; true when one was started. Failures stay silent.
bool checkForUpdatedVersion_Background(const QString& programFolder, const QString& homePage,
                                       const QString& linkText);

} // namespace tarrow::support
