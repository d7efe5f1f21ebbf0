#include "OrvaneUtilitiesApi.h"

#include "CustomizeFile.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

struct State
{
    QMutex mutex;
    CustomizeFile file;
};

State& Module()
{
    static State state;
    return state;
}

QString FromWide(const char16_t* text)
{
    return text ? QString::fromUtf16(text) : QString();
}

void CopyToBuffer(const QString& value, char16_t* buffer, int length)
{
    if (!buffer || length <= 0)
        return;
    const qsizetype count = qMin<qsizetype>(value.size(), length - 1);
    std::copy_n(reinterpret_cast<const char16_t*>(value.utf16()), count, buffer);
    buffer[count] = u'\0';
}

} // namespace

ORVANE_UTILITIES_EXPORT int LoadCustomizeXMLFileW(const char16_t* path)
{
    QMutexLocker lock(&Module().mutex);
    return Module().file.Load(FromWide(path)) ? 1 : 0;
}

ORVANE_UTILITIES_EXPORT int ReadCustomizeInfoW(const char16_t* key, const char16_t* languageCode,
                                               char16_t* buffer, int bufferLength, char16_t* extra,
                                               int extraLength)
{
    QMutexLocker lock(&Module().mutex);
    const auto value = Module().file.Value(FromWide(key), FromWide(languageCode));
    CopyToBuffer(value.value_or(QString()), buffer, bufferLength);
    CopyToBuffer(QString(), extra, extraLength);
    return value ? 1 : 0;
}

// Kept for the calling contract only. Opening an address needs the desktop's services, which
// only the program's window has; the program opens addresses itself, and nothing here starts
// a browser by hand.
ORVANE_UTILITIES_EXPORT int OrvaneOpenURLW(const char16_t* /*address*/, int /*flag*/)
{
    return 0;
}
