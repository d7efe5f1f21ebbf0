#include "shell/ApplicationTitle.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

struct TitleStore
{
    QMutex mutex;
    QString title;
};

TitleStore& Store()
{
    static TitleStore store;
    return store;
}

} // namespace

void SetApplicationTitle(const QString& title)
{
    QMutexLocker lock(&Store().mutex);
    Store().title = title;
}

QString ApplicationTitle()
{
    QMutexLocker lock(&Store().mutex);
    return Store().title;
}
