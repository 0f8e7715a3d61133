#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

namespace tarrow::app {

// Runs work and gives what stopped it as one message for the user; empty when
// it finished. Nothing it throws gets past.
[[nodiscard]] QString failureOf(const std::function<void()>& work);

// Long work of the main window (a load, a History run, the PDF's figures) on a
// worker thread, one job at a time. The window is busy from start until the
// job has ended, however it ends: whatever the work throws is caught at the
// job's boundary and told once through failed, and done runs only after work
// that finished. Both run on the thread that started the job.
class LongJob : public QObject {
    Q_OBJECT
public:
    explicit LongJob(QObject* parent = nullptr);
    ~LongJob() override;

    // False (and nothing started) while another job runs.
    bool start(std::function<void()> work, std::function<void()> done);
    [[nodiscard]] bool running() const { return watcher_ != nullptr; }
    // Asks the work under way to stop; the work reads cancelled().
    void cancel() { cancelled_ = true; }
    [[nodiscard]] bool cancelled() const { return cancelled_; }
    // Lets events through until the job under way has ended.
    void waitUntilEnded();

signals:
    void busyChanged(bool busy);
    void failed(const QString& message);

private:
    void finish();

    std::unique_ptr<QFutureWatcher<QString>> watcher_;
    std::function<void()> done_;
    std::atomic<bool> cancelled_{false};
};

} // namespace tarrow::app
