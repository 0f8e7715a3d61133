#include "app/widgets/frmmain.h"

#include "app/startup.h"
#include "app/widgets/busypointer.h"
#include "app/widgets/longjob.h"
#include "app/widgets/reporttabs.h"
#include "load/loadedday.h"
#include "logparse/logfiles.h"
#include "platform/userdialogs.h"
#include "reports/history/widgets/frmhistory.h"
#include "reports/widgets/chartwindow.h"
#include "reports/widgets/reportwindows.h"
#include "reports/widgets/windowdesign.h"
#include "serverprobe/mervoxversion.h"
#include "support/updatecheck.h"
#include "support/widgets/supportwindows.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace tarrow::app {

namespace {

template <typename W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QPushButton* button(const QString& name, const QString& caption) {
    return named(new QPushButton(caption), name);
}

} // namespace

frmMain::frmMain(load::AppState& state, platform::UserDialogs& dialogs,
                 const serverprobe::RegistryApi& registry, serverprobe::ConfigDatabase& config,
                 QWidget* parent)
    : QMainWindow(parent), state_(state), dialogs_(dialogs), registry_(registry), config_(config),
      support_(std::make_unique<support::SupportWindows>(state.programFolder, dialogs)),
      job_(new LongJob(this)) {
    connect(job_, &LongJob::busyChanged, this, &frmMain::setBusy);
    connect(job_, &LongJob::failed, this, [this](const QString& failure) {
        dialogs_.message(failure, {}, platform::MessageIcon::Warning);
    });
    for (const reports::ReportEntry& report : reports::reportTable()) {
        const reports::ReportId id = report.id;
        openers_[id] = [this, id] { openReportWindow(id); };
    }
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tarrow"));
    buildMenus();
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(buildSourceFrame());
    layout->addWidget(buildStatusFrame());
    tabs_ = new ReportTabs;
    connect(tabs_, &ReportTabs::reportAsked, this, &frmMain::runReport);
    connect(tabs_, &ReportTabs::historyAsked, this, &frmMain::runHistory);
    layout->addWidget(tabs_, 1);
    setCentralWidget(central);
    resize(640, 520);
}

frmMain::~frmMain() = default;

void frmMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(reports::withMnemonic(QStringLiteral("File")));
    file->setObjectName(QStringLiteral("mnuFile"));
    // Saving the working database under another name has no defined action yet.
    file->addAction(QStringLiteral("Save Database"))
        ->setObjectName(QStringLiteral("mnuSaveDatabase"));
    mnuExportPdf = file->addAction(QStringLiteral("Export PDF Report..."));
    mnuExportPdf->setObjectName(QStringLiteral("mnuExportPdf"));
    mnuExportPdf->setEnabled(false);
    connect(mnuExportPdf, &QAction::triggered, this, &frmMain::exportPdfReport);
    file->addSeparator();
    mnuExit = file->addAction(QStringLiteral("Exit"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit, &QAction::triggered, this, &frmMain::close);

    QMenu* help = menuBar()->addMenu(reports::withMnemonic(QStringLiteral("Help")));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* helpFile = help->addAction(QStringLiteral("Help"));
    helpFile->setObjectName(QStringLiteral("mnuHelpFile"));
    connect(helpFile, &QAction::triggered, this, &frmMain::showHelp);
    help->addSeparator()->setObjectName(QStringLiteral("seperator2"));
    QAction* about = help->addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    connect(about, &QAction::triggered, this, &frmMain::showAbout);
    QAction* update = help->addAction(QStringLiteral("Check for updated version"));
    update->setObjectName(QStringLiteral("mnuCheckforUpdatedVersion"));
    connect(update, &QAction::triggered, this, &frmMain::checkForUpdate);
}

QWidget* frmMain::buildSourceFrame() {
    frmStoreDatabaseAt = named(new QGroupBox(QStringLiteral("Generate Report From:")),
                               QStringLiteral("frmStoreDatabaseAt"));
    auto* grid = new QGridLayout(frmStoreDatabaseAt);
    txtDiagFilePath = named(new QLineEdit, QStringLiteral("txtDiagFilePath"));
    cmdBrowseForDiagFile =
        button(QStringLiteral("cmdBrowseForDiagFile"), QStringLiteral("Browse..."));
    cmbReportDate = named(new QComboBox, QStringLiteral("cmbReportDate"));
    cmdParseLogs = button(QStringLiteral("cmdParseLogs"), QStringLiteral("Load Data"));
    cmdParseLogs->setEnabled(false);
    grid->addWidget(new QLabel(QStringLiteral("Data logs folder:")), 0, 0);
    grid->addWidget(txtDiagFilePath, 0, 1);
    grid->addWidget(cmdBrowseForDiagFile, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Select day:")), 1, 0);
    grid->addWidget(cmbReportDate, 1, 1);
    grid->addWidget(cmdParseLogs, 1, 2);
    grid->setColumnStretch(1, 1);

    // The saved-database row exists but lies outside the frame's visible area.
    auto* savedRow = named(new QWidget, QStringLiteral("savedDatabaseRow"));
    auto* row = new QHBoxLayout(savedRow);
    optLoadFromDatabase = named(new QRadioButton(QStringLiteral("Saved Database")),
                                QStringLiteral("optLoadFromDatabase"));
    txtDatabasePath = named(new QLineEdit, QStringLiteral("txtDatabasePath"));
    cmdBrowseForDatabase = button(QStringLiteral("cmdBrowseForDatabase"), QStringLiteral("Browse"));
    cmdBrowseForDatabase->setEnabled(false);
    row->addWidget(optLoadFromDatabase);
    row->addWidget(txtDatabasePath);
    row->addWidget(cmdBrowseForDatabase);
    grid->addWidget(savedRow, 2, 0, 1, 3);
    savedRow->hide();

    connect(cmdBrowseForDiagFile, &QPushButton::clicked, this, &frmMain::browseForLogs);
    connect(cmdParseLogs, &QPushButton::clicked, this, &frmMain::loadData);
    // A folder typed in and confirmed (Enter, or leaving the field) lists its
    // own days.
    connect(txtDiagFilePath, &QLineEdit::editingFinished, this, [this] {
        if (txtDiagFilePath->text() != listedFolder_ && !txtDiagFilePath->text().isEmpty())
            openLogFolder(txtDiagFilePath->text());
    });
    connect(optLoadFromDatabase, &QRadioButton::toggled, this, [this](bool on) {
        if (!on)
            return;
        cmdBrowseForDiagFile->setEnabled(false);
        cmdBrowseForDatabase->setEnabled(true);
    });
    return frmStoreDatabaseAt;
}

QWidget* frmMain::buildStatusFrame() {
    frmTitle = named(new QGroupBox, QStringLiteral("frmTitle"));
    auto* layout = new QVBoxLayout(frmTitle);
    ProgressBar = named(new QProgressBar, QStringLiteral("ProgressBar"));
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    cmdCancel->hide();
    connect(cmdCancel, &QPushButton::clicked, this, &frmMain::cancelWork);
    auto* row = new QHBoxLayout;
    row->addWidget(ProgressBar, 1);
    row->addWidget(cmdCancel);
    layout->addLayout(row);
    frmTitle->hide();
    return frmTitle;
}

void frmMain::startUp() {
    const QStringList messages = app::startUp(state_, registry_);
    txtDatabasePath->setText(
        QDir::toNativeSeparators(store::databasePathOf(state_.database.connectionString())));
    for (const QString& message : messages)
        dialogs_.message(message);
    const support::ToolsSite site = support::defaultToolsSite();
    (void)support::checkForUpdatedVersion_Background(state_.programFolder, site.homePage(),
                                                     QString());
}

void frmMain::checkForUpdate() {
    const support::ToolsSite site = support::defaultToolsSite();
    support::UpdateCheck check;
    // The download lets events through while it waits.
    if (!whileBusy([&] {
            check = support::checkForUpdatedVersion(
                site, site.homePage(), QString(),
                [](const QString& address) { return support::fetchUrlText(address); });
        }))
        return;
    for (const QString& failure : check.failures)
        dialogs_.message(failure);
    if (check.outcome != support::UpdateOutcome::NewerPosted) {
        dialogs_.message(check.message);
        return;
    }
    if (dialogs_.question(check.message + support::openHomePageQuestion(),
                          support::updateAvailableCaption()))
        dialogs_.openUrl(site.homePage());
}

void frmMain::browseForLogs() {
    QStringList messages;
    const QString defaultFolder =
        serverprobe::strGetLogPath(state_.server, registry_, config_, messages);
    for (const QString& message : messages)
        dialogs_.message(message);
#ifdef _WIN32
    const QString driveRoot = QStringLiteral("c:\\");
#else
    const QString driveRoot = QDir::homePath();
#endif
    const QString current = txtDiagFilePath->text();
    const QString start = current.size() > 3         ? current
                          : !defaultFolder.isEmpty() ? defaultFolder
                                                     : driveRoot;
    const QString picked = dialogs_.pickFolder(
        start, QStringLiteral("Pre-selecting folder using the folder's string."));
    openLogFolder(picked.isEmpty() ? start : QDir::toNativeSeparators(picked));
}

void frmMain::openLogFolder(const QString& folder) {
    txtDiagFilePath->setText(folder);
    listedFolder_ = folder;
    // The day loaded is of the folder before: its reports wait for a load.
    setReportButtonsEnabled(false);
    if (buildDayList()) {
        cmdParseLogs->setEnabled(true);
        cmbReportDate->setCurrentIndex(0);
        return;
    }
    cmdParseLogs->setEnabled(false);
    txtDiagFilePath->clear();
    dialogs_.message(QStringLiteral(
        "No valid diagnostic files found in that directory... The Tarrow only works with data "
        "files produced by Mervox 3.1(4) or later."));
}

bool frmMain::buildDayList() {
    BusyPointer busy;
    cmbReportDate->clear();
    const auto listing =
        logparse::listLogFiles(QDir::fromNativeSeparators(txtDiagFilePath->text()),
                               logparse::logFilePrefix(state_.server.newerGeneration));
    const QList<logparse::DayEntry> entries = logparse::buildDayList(listing.files, state_.locale);
    for (const auto& day : entries)
        cmbReportDate->addItem(day.text, day.date);
    tabs_->fillHistoryDays(entries);
    return cmbReportDate->count() > 0;
}

// The status frame may be driven from a job's worker thread: the widgets are
// then changed on this one, in the order asked.
void frmMain::showStatus(const QString& caption, qint64 maximum) {
    if (onWorker([=, this] { showStatus(caption, maximum); }))
        return;
    frmTitle->setTitle(caption);
    ProgressBar->setRange(0, static_cast<int>(maximum));
    ProgressBar->setValue(0);
    frmTitle->show();
}

void frmMain::setStatusValue(qint64 value) {
    if (onWorker([=, this] { setStatusValue(value); }))
        return;
    ProgressBar->setValue(static_cast<int>(value));
}

void frmMain::hideStatus() {
    if (onWorker([this] { hideStatus(); }))
        return;
    frmTitle->hide();
}

bool frmMain::onWorker(std::function<void()> change) {
    if (QThread::currentThread() == thread())
        return false;
    QMetaObject::invokeMethod(this, std::move(change), Qt::QueuedConnection);
    return true;
}

void frmMain::setBusy(bool busy) {
    // While long work runs only the status frame lives: nothing clicked
    // meanwhile can start a second load, or compute and store a report (from a
    // summary window) on half-loaded data.
    frmStoreDatabaseAt->setEnabled(!busy);
    tabs_->setEnabled(!busy);
    menuBar()->setEnabled(!busy);
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this)
            window->setEnabled(!busy);
    cmdCancel->setVisible(busy);
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    QApplication::restoreOverrideCursor();
    hideStatus();
    workEnded();
}

bool frmMain::startJob(std::function<void()> work, std::function<void()> done) {
    // Nothing more is said once the window was asked to close meanwhile.
    return job_->start(std::move(work), [this, done = std::move(done)] {
        if (!closeAsked_)
            done();
    });
}

bool frmMain::whileBusy(const std::function<void()>& work) {
    QString failure;
    {
        setBusy(true);
        busy_ = true;
        // The window comes back to life however the work ends.
        const auto restore = qScopeGuard([this] {
            busy_ = false;
            setBusy(false);
        });
        failure = failureOf(work);
    }
    if (!failure.isEmpty()) {
        dialogs_.message(failure, {}, platform::MessageIcon::Warning);
        return false;
    }
    return !closeAsked_;
}

void frmMain::shutdown() {
    state_.database.close();
    QApplication::closeAllWindows();
    QApplication::quit();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (working()) {
        // Long work is under way: it is told to stop, and the window closes
        // once it has.
        closeAsked_ = true;
        cancelWork();
        event->ignore();
        return;
    }
    event->accept();
    shutdown();
}

bool frmMain::working() const {
    return busy_ || job_->running();
}

void frmMain::waitForWork() {
    job_->waitUntilEnded();
}

void frmMain::cancelWork() {
    job_->cancel();
    emit support::cancelDownloads()->cancel();
}

void frmMain::workEnded() {
    if (working())
        return;
    if (closeAsked_)
        QTimer::singleShot(0, this, &QWidget::close);
}

} // namespace tarrow::app
