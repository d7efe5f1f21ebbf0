#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <functional>

// Turns SIGTERM, SIGINT and SIGHUP into a call on the event loop, so that the desktop's
// logout or a plain `kill` ends the program through its normal shutdown (log line, saved
// configuration) instead of cutting it off.
class TTerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TTerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TTerminationSignals() override;

private:
    void Drain();

    std::function<void()> FOnSignal;
    QSocketNotifier* FNotifier = nullptr;
};
