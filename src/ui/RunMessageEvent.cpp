#include "ui/RunMessageEvent.h"

#include <QCoreApplication>

QEvent::Type TRunMessageEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void TWindowRunTarget::PostRunMessage(const TRunMessage& message)
{
    QCoreApplication::postEvent(FWindow, new TRunMessageEvent(message));
}
