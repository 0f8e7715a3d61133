#include "app/widgets/longjob.h"

#include <QEventLoop>
#include <QtConcurrent/QtConcurrentRun>

#include <new>

namespace tarrow::app {

QString failureOf(const std::function<void()>& work) {
    try {
        work();
        return {};
    } catch (const std::bad_alloc&) {
        return QStringLiteral("There was not enough memory to finish: close other programs or "
                              "choose fewer days, then try again.");
    } catch (const std::exception& error) {
        return QStringLiteral("The work stopped on an error: %1")
            .arg(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        return QStringLiteral("The work stopped on an unknown error.");
    }
}

LongJob::LongJob(QObject* parent) : QObject(parent) {}

LongJob::~LongJob() {
    if (watcher_)
        watcher_->waitForFinished();
}

bool LongJob::start(std::function<void()> work, std::function<void()> done) {
    if (watcher_)
        return false;
    cancelled_ = false;
    done_ = std::move(done);
    watcher_ = std::make_unique<QFutureWatcher<QString>>();
    connect(watcher_.get(), &QFutureWatcherBase::finished, this, &LongJob::finish);
    emit busyChanged(true);
    watcher_->setFuture(QtConcurrent::run([work = std::move(work)] { return failureOf(work); }));
    return true;
}

void LongJob::finish() {
    const QString failure = watcher_->result();
    watcher_.release()->deleteLater();
    std::function<void()> done = std::move(done_);
    done_ = nullptr;
    emit busyChanged(false);
    if (!failure.isEmpty())
        emit failed(failure);
    else if (done)
        done();
}

void LongJob::waitUntilEnded() {
    if (!watcher_)
        return;
    QEventLoop loop;
    connect(this, &LongJob::busyChanged, &loop, [&loop](bool busy) {
        if (!busy)
            loop.quit();
    });
    loop.exec();
}

} // namespace tarrow::app
