#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <functional>

class QIODevice;

namespace tarrow::platform {

// "<prefix><month>_<day>_<year><extension>" without leading zeros, for example
// PortAvailabilitySummary_3_7_2009.csv.
[[nodiscard]] QString dateFileName(const QString& prefix, const QDate& date,
                                   const QString& extension);

// The folder that stands for the "c:\" root of default file names: the drive
// root on Windows, the user's Documents folder elsewhere.
[[nodiscard]] QString defaultSaveFolder();

// Every file Tarrow saves goes through here: write() fills a temporary file,
// which replaces path only when every write and the flush succeeded, so an
// existing file is replaced by a complete new one or stays as it was.
Result saveAtomically(const QString& path, const std::function<Result(QIODevice&)>& write);

// What the system said about a failed write to a file, or a plain reason
// when it said nothing useful ("Unknown error").
[[nodiscard]] QString whyNotWritten(const QIODevice& device);

// saveAtomically for bytes already in memory.
Result saveFileAtomically(const QString& path, const QByteArray& bytes);

// For writers that do not check their own writes (pictures, drawings, PDF):
// draw() fills memory first, and the bytes are then saved with every write
// checked, so a full disk can never leave a cut-off file called saved.
Result saveDrawnAtomically(const QString& path, const std::function<Result(QIODevice&)>& draw);

class UserDialogs;

// What "Save ..." asks the user and tells them.
struct SaveRequest {
    QString title;    // of the save dialog
    QString fileName; // offered in the default save folder
    QString filter;
    QString suffix; // given to a name without one
    QString done;   // the message once saved
};

// Asks where to save, writes the bytes there through the atomic save and says
// it is done, or why it failed. Cancel stays silent.
void saveAsked(UserDialogs& dialogs, const SaveRequest& request, const QByteArray& bytes);

} // namespace tarrow::platform
