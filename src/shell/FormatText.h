#pragma once

#include <QString>
#include <QStringList>

// Fills the "%s" and "%d" markers of a language text with the values, in order; "%%" is a
// percent sign. Markers without a value stay as they are, values without a marker are dropped.
// The values are never scanned for markers themselves.
QString FormatText(const QString& format, const QStringList& values);

// FormatText over the forms language text of the key.
QString FormatFormsText(const QString& key, const QStringList& values = {});
