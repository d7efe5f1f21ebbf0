#include "shell/LanguageEvents.h"

TLanguageEvent::TLanguageEvent(int message, QObject* subject, int langId, TLanguageItem* item)
    : QEvent(LanguageEventType(message)), FMessage(message), FSubject(subject), FLangID(langId),
      FItem(item)
{
}

void TLanguageEvent::SetResult(qintptr result)
{
    FResult = result;
    setAccepted(true);
}
