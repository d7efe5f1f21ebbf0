#pragma once

#include "split/RunMessages.h"

#include <QEvent>

class QObject;

// A run message on its way to a window: posted from whatever thread the run is on and
// delivered on the window's thread, in the order posted.
class TRunMessageEvent : public QEvent
{
public:
    static QEvent::Type EventType();

    explicit TRunMessageEvent(const TRunMessage& message) : QEvent(EventType()), FMessage(message) {}
    const TRunMessage& Message() const { return FMessage; }

private:
    TRunMessage FMessage;
};

// The window's end of the run-message port. The window must outlive every run that posts
// to it (it owns the run, and the run ends before it is freed).
class TWindowRunTarget final : public IRunMessageTarget
{
public:
    explicit TWindowRunTarget(QObject* window) : FWindow(window) {}
    void PostRunMessage(const TRunMessage& message) override;

private:
    QObject* FWindow;
};
