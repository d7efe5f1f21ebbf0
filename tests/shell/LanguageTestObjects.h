#pragma once

#include "shell/LanguageEvents.h"

#include <QEvent>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

// A component with one published property of each kind the language files set, recording
// the language events it receives.
class TTestControl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString text MEMBER FText)
    Q_PROPERTY(int number MEMBER FNumber)
    Q_PROPERTY(qint64 big MEMBER FBig)
    Q_PROPERTY(bool flag MEMBER FFlag)
    Q_PROPERTY(double ratio MEMBER FRatio)
    Q_PROPERTY(Mode mode MEMBER FMode)
    Q_PROPERTY(Options options READ GetOptions WRITE SetOptions)
    Q_PROPERTY(QStringList lines MEMBER FLines)
    Q_PROPERTY(QObject* inner READ Inner CONSTANT)
    Q_PROPERTY(QString fixed READ Fixed CONSTANT)

public:
    enum Mode
    {
        mdNone,
        mdFast,
        mdSafe
    };
    Q_ENUM(Mode)
    enum Option
    {
        opLeft = 1,
        opRight = 2,
        opTop = 4
    };
    Q_DECLARE_FLAGS(Options, Option)
    Q_FLAG(Options)

    explicit TTestControl(const QString& name, QObject* parent = nullptr) : QObject(parent)
    {
        setObjectName(name);
    }

    QObject* Inner() const { return FInner.get(); }
    void MakeInner() { FInner = std::make_unique<TTestControl>(QStringLiteral("inner")); }
    QString Fixed() const { return QStringLiteral("fixed"); }
    Options GetOptions() const { return FOptions; }
    void SetOptions(Options options) { FOptions = options; }

    QString FText = QStringLiteral("initial");
    int FNumber = -1;
    qint64 FBig = -1;
    bool FFlag = false;
    double FRatio = 0;
    Mode FMode = mdNone;
    Options FOptions;
    QStringList FLines;
    std::unique_ptr<TTestControl> FInner;

    // Answers the ownership query about the object of this name.
    QString FOwnsTranslationOf;
    bool FAnswersChanged = false;
    std::function<void()> FOnChanged;
    // Shared record of the broadcast: "name:changed", "name:refresh".
    QStringList* FRecord = nullptr;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == LanguageEventType(LangQueryMessage)) {
            auto* query = static_cast<TLanguageEvent*>(event);
            if (!FOwnsTranslationOf.isEmpty() && query->Subject() &&
                query->Subject()->objectName() == FOwnsTranslationOf)
                query->SetResult(1);
            return true;
        }
        if (event->type() == LanguageEventType(LangChangedMessage)) {
            Record(
                QStringLiteral(":changed %1").arg(static_cast<TLanguageEvent*>(event)->LangID()));
            if (FOnChanged)
                FOnChanged();
            if (FAnswersChanged)
                static_cast<TLanguageEvent*>(event)->SetResult(1);
            return true;
        }
        if (event->type() == LanguageEventType(LangRefreshMessage)) {
            Record(QStringLiteral(":refresh"));
            return true;
        }
        return QObject::event(event);
    }

private:
    void Record(const QString& what)
    {
        if (FRecord)
            FRecord->append(objectName() + what);
    }
};

// Window classes are told apart by their class name.
class TfrmAbout : public TTestControl
{
    Q_OBJECT

public:
    using TTestControl::TTestControl;
};

class TfrmMainEx : public TTestControl
{
    Q_OBJECT

public:
    using TTestControl::TTestControl;
};
