#include "shell/FormatText.h"

#include "shell/MutlLanguage.h"

QString FormatText(const QString& format, const QStringList& values)
{
    QString result;
    result.reserve(format.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        const QChar marker = i + 1 < format.size() ? format.at(i + 1) : QChar();
        if (c == u'%' && marker == u'%') {
            result += u'%';
            ++i;
        } else if (c == u'%' && (marker == u's' || marker == u'd') && next < values.size()) {
            result += values.at(next++);
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}

QString FormatFormsText(const QString& key, const QStringList& values)
{
    return FormatText(GetFormsLangString(key), values);
}
