#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// Makes sure one instance runs per user and configured name. The guard lives in a folder of
// the user's own (the session's runtime folder, else the user's cache folder), so no other
// user can share it or take it first. The first instance holds a lock file (taken over from a
// crashed holder, whose process no longer exists) and listens on a local socket beside it; a
// later instance sends its product title there, and the first instance comes to the front only
// when its own window carries that title.
class TSingleInstance : public QObject
{
    Q_OBJECT
public:
    // Answers whether the first instance raised its window for the given title.
    using ActivationHandler = std::function<bool(const QString& productTitle)>;

    explicit TSingleInstance(const QString& mutexName, QObject* parent = nullptr);
    ~TSingleInstance() override;

    // True when this process is the first instance (or the guard cannot be created at all, as
    // when no private folder can be had, in which case the process runs as the first instance
    // too).
    bool Acquire();

    // From a later instance: asks the first one to come to the front. True when it did.
    bool AskFirstInstance(const QString& productTitle, int timeoutMs = 3000) const;

    void SetActivationHandler(ActivationHandler handler) { FHandler = std::move(handler); }

    // The full path of the socket; the lock file lies beside it.
    QString ServerName() const { return FKey; }

private:
    void AnswerConnection();
    void AnswerRequest(class QLocalSocket* socket);

    QString FFolder;
    QString FKey;
    std::unique_ptr<QLockFile> FLock;
    std::unique_ptr<QLocalServer> FServer;
    ActivationHandler FHandler;
};
