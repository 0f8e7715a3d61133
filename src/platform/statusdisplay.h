#pragma once

#include <QString>

namespace tarrow::platform {

// The main window's status frame and progress bar, which long work drives.
class StatusDisplay {
public:
    virtual ~StatusDisplay() = default;
    virtual void showStatus(const QString& caption, qint64 maximum) = 0;
    virtual void setStatusValue(qint64 value) = 0;
    virtual void hideStatus() = 0;
};

// For work done without a window (the command line).
class NoStatusDisplay : public StatusDisplay {
public:
    void showStatus(const QString&, qint64) override {}
    void setStatusValue(qint64) override {}
    void hideStatus() override {}
};

} // namespace tarrow::platform
