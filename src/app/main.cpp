#include "app/cli.h"
#include "app/commandtable.h"
#include "app/startup.h"
#include "app/widgets/frmmain.h"
#include "app/widgets/pdfreport.h"
#include "app/widgets/reportcharts.h"
#include "platform/folderlock.h"
#include "platform/scratchfolder.h"
#include "platform/widgets/qtuserdialogs.h"
#include "platform/widgets/windowsize.h"
#include "serverprobe/configdatabase.h"
#include "serverprobe/registryapi.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTextStream>

#include <cstdio>

#ifndef _WIN32
#include <sys/resource.h>
#endif

using namespace tarrow;

namespace {

// The program runs below normal priority so a long load never slows the server
// it may share a machine with. A failure is ignored.
void lowerPriority() {
#ifndef _WIN32
    (void)setpriority(PRIO_PROCESS, 0, 5);
#endif
}

int runWindow(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarrow"));
    // The desktop file, icon and AppStream entry all go by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tarrow.Tarrow"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.tarrow.Tarrow")));
    QCommandLineParser parser;
    const QCommandLineOption logs = app::commandLineOption(QStringLiteral("logs"));
    const QCommandLineOption dataDir = app::commandLineOption(QStringLiteral("data-dir"));
    parser.addOptions({logs, dataDir});
    parser.process(application);

    lowerPriority();
    // Made before the state, so the working database closes before they go.
    platform::FolderLock lock;
    std::unique_ptr<platform::ScratchFolder> ownFolder;
    load::AppState state;
    state.programFolder = app::programFolderOf(QApplication::applicationDirPath());
    const QString folderNote =
        app::settleWindowFolder(state, lock, parser.value(dataDir), ownFolder);
    const auto registry = serverprobe::makeSystemRegistry();
    const auto config = serverprobe::makeSystemConfigDatabase();
    platform::QtUserDialogs dialogs;
    app::frmMain window(state, dialogs, *registry, *config);
    dialogs.setOwner(&window);
    platform::fitToScreen(window);
    window.show();
    window.startUp();
    if (!folderNote.isEmpty())
        dialogs.message(folderNote, {}, platform::MessageIcon::Warning);
    if (parser.isSet(logs))
        window.openLogFolder(parser.value(logs));
    return QApplication::exec();
}

// Whether a report run draws: chart pictures (all but --charts none) or the
// PDF report. Read with the command line's own options; a line that does not
// parse draws nothing (it only gets its usage message).
bool drawsPictures(const QStringList& args) {
    QCommandLineParser parser;
    app::addEveryOption(parser);
    if (!parser.parse(QStringList{QStringLiteral("tarrow")} + args.mid(1)))
        return false;
    return parser.isSet(QStringLiteral("pdf")) ||
           parser.value(QStringLiteral("charts")) != QLatin1String("none");
}

} // namespace

// A headless run reports in one line per error on stderr; the toolkit's own
// notes (a missing runtime folder, an off-screen platform's limits) would only
// clutter a scheduled job's mail.
void quietToolkit(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

int main(int argc, char** argv) {
    // What a killed run left in the temporary folder goes; what this run
    // makes there goes even when it is told to end.
    platform::cleanScratchOnTermination();
    (void)platform::removeAbandonedScratchFolders();
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (!app::isCommandLineRun(args))
        return runWindow(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    qInstallMessageHandler(quietToolkit);
    if (args.constFirst() == QLatin1String("report") && drawsPictures(args)) {
        // Reports draw their chart pictures off screen, whatever display the
        // environment names: a scheduled run has none.
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        QApplication application(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Tarrow"));
        return app::runCommandLine(args, app::programFolderOf(QApplication::applicationDirPath()),
                                   out, err, app::chartPictureWriter(),
                                   [](const app::ComputedReports& computed, const QString& path) {
                                       return app::writePdfReport(computed, path);
                                   });
    }
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tarrow"));
    return app::runCommandLine(args, app::programFolderOf(QCoreApplication::applicationDirPath()),
                               out, err);
}
