#pragma once

#include <QEvent>
#include <QtGlobal>

class QObject;
class TLanguageItem;

// The language manager's window messages, delivered as Qt events sent to the objects of a
// window. The message numbers are the system's own; their event types lie in a band of the
// user range of their own (base + number), so that they never meet other messages of the
// program that use the same numbers (1125 is also the run's progress message).
constexpr int LangChangedMessage = 1124;
constexpr int LangQueryMessage = 1125;
constexpr int LangRefreshMessage = 46056;
constexpr int kLanguageEventBase = QEvent::User + 16384;
static_assert(kLanguageEventBase + LangRefreshMessage <= QEvent::MaxUser);

constexpr QEvent::Type LanguageEventType(int message)
{
    return static_cast<QEvent::Type>(kLanguageEventBase + message);
}

// LangQueryMessage: asks whether the receiver translates Subject() itself; a receiver that
// does answers with a non-zero result, and the manager then leaves that object alone.
// LangChangedMessage: the language was applied; carries LangID(). A receiver that refreshes
// itself answers non-zero, else it also gets the refresh event (LangRefreshMessage, no
// parameters).
class TLanguageEvent : public QEvent
{
public:
    TLanguageEvent(int message, QObject* subject, int langId, TLanguageItem* item);

    int Message() const { return FMessage; }
    QObject* Subject() const { return FSubject; }
    int LangID() const { return FLangID; }
    TLanguageItem* Item() const { return FItem; }

    qintptr Result() const { return FResult; }
    void SetResult(qintptr result);

private:
    int FMessage;
    QObject* FSubject;
    int FLangID;
    TLanguageItem* FItem;
    qintptr FResult = 0;
};
