#include "platform/fileoutput.h"

#include "platform/shownpath.h"
#include "platform/userdialogs.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace tarrow::platform {

QString dateFileName(const QString& prefix, const QDate& date, const QString& extension) {
    return QStringLiteral("%1%2_%3_%4%5")
        .arg(prefix)
        .arg(date.month())
        .arg(date.day())
        .arg(date.year())
        .arg(extension);
}

QString defaultSaveFolder() {
#ifdef _WIN32
    return QStringLiteral("c:\\");
#else
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
#endif
}

QString whyNotWritten(const QIODevice& device) {
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    const QString said = device.errorString();
    if ((file && file->error() == QFileDevice::NoError) || said.isEmpty() ||
        said == QLatin1String("Unknown error"))
        return QStringLiteral("the file could not be written in full (is the disk full?)");
    return said;
}

namespace {

// Why path may not be saved to, or nothing: a save replaces a regular file or
// creates a new one, and never writes through a link or into a FIFO, device
// or folder (renaming over those would replace them, writing into them could
// block or reach a device).
QString refusedTarget(const QString& path) {
    const QFileInfo target(path);
    if (target.isSymLink())
        return QStringLiteral("it is a link; choose the file itself.");
    if (!target.exists())
        return {};
    if (target.isDir())
        return QStringLiteral("it is a folder.");
    if (!target.isFile())
        return QStringLiteral("it is not a regular file.");
    return {};
}

} // namespace

Result saveAtomically(const QString& path, const std::function<Result(QIODevice&)>& write) {
    const auto failed = [&path](const QString& why) {
        return Result::failure(
            QStringLiteral("Could not save \"%1\": %2").arg(platform::shownPath(path), why));
    };
    if (const QString refused = refusedTarget(path); !refused.isEmpty())
        return failed(refused);
    // A file not committed is discarded with its temporary file when it goes.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    if (const Result written = write(file); !written.ok())
        return failed(written.error());
    // The last bytes may still sit in the file's buffer, and a failure to write
    // them out is not seen by commit(): flush first and check, and check that
    // no write before failed unseen by a writer that does not look.
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return failed(whyNotWritten(file));
    if (!file.commit())
        return failed(whyNotWritten(file));
    return {};
}

Result saveDrawnAtomically(const QString& path, const std::function<Result(QIODevice&)>& draw) {
    QBuffer memory;
    memory.open(QIODevice::WriteOnly);
    if (const Result drawn = draw(memory); !drawn.ok())
        return Result::failure(
            QStringLiteral("Could not save \"%1\": %2").arg(shownPath(path), drawn.error()));
    return saveFileAtomically(path, memory.data());
}

Result saveFileAtomically(const QString& path, const QByteArray& bytes) {
    return saveAtomically(path, [&bytes](QIODevice& out) {
        if (out.write(bytes) == bytes.size())
            return Result();
        return Result::failure(whyNotWritten(out));
    });
}

void saveAsked(UserDialogs& dialogs, const SaveRequest& request, const QByteArray& bytes) {
    const QString path =
        dialogs.saveFile(request.title, QDir(defaultSaveFolder()).filePath(request.fileName),
                         request.filter, request.suffix);
    if (path.isEmpty())
        return;
    const Result saved = saveFileAtomically(path, bytes);
    if (saved.ok())
        dialogs.message(request.done);
    else
        dialogs.message(saved.error(), {}, MessageIcon::Warning);
}

} // namespace tarrow::platform
