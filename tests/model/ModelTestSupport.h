#pragma once

#include "shell/LanguageMgr.h"

#include <QFile>
#include <QMetaProperty>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Makes a language current whose all-pages word "sAll" is "All", as in the shipped language
// files, for the lifetime of the object; afterwards no language is current.
class TAllPagesWordScope
{
public:
    TAllPagesWordScope()
    {
        QFile file(FFolder.filePath(QStringLiteral("English.dat")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<LanguageResource Id=\"ENG\" name=\"English\">"
                   "<Strings><sAll>All</sAll></Strings></LanguageResource>\n");
        file.close();
        EXPECT_EQ(LanguageMgr().LoadLanguages(FFolder.path() + QStringLiteral("/*.dat")), 1);
        EXPECT_TRUE(LanguageMgr().SelectLanguage(QStringLiteral("ENG")));
    }

    ~TAllPagesWordScope()
    {
        LanguageMgr().LoadLanguages(FFolder.path() + QStringLiteral("/none/*.dat"));
    }

    TAllPagesWordScope(const TAllPagesWordScope&) = delete;
    TAllPagesWordScope& operator=(const TAllPagesWordScope&) = delete;

private:
    QTemporaryDir FFolder;
};

// Writes a file of the given size and returns its path.
inline QString WriteFileOfSize(const QTemporaryDir& folder, const QString& name, qint64 size)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(size, 'x'));
    return path;
}

// The published property names of a class, base classes first.
inline QStringList PublishedNames(const QMetaObject& meta)
{
    QStringList names;
    for (int i = 0; i < meta.propertyCount(); ++i)
        names.append(QString::fromLatin1(meta.property(i).name()));
    return names;
}
