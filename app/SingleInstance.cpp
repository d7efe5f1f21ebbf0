#include "SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QRegularExpression>

namespace {

QString UserName()
{
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return user.isEmpty() ? QStringLiteral("user") : user;
}

// A name that is safe as a file and socket name and separate per user.
QString GuardKey(const QString& mutexName)
{
    QString name = mutexName;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return name + u'-' + UserName();
}

QByteArray Line(const QString& text)
{
    return text.toUtf8().replace('\n', ' ') + '\n';
}

} // namespace

TSingleInstance::TSingleInstance(const QString& mutexName, QObject* parent)
    : QObject(parent), FKey(GuardKey(mutexName))
{
}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::Acquire()
{
    FLock = std::make_unique<QLockFile>(QDir::temp().filePath(FKey + QStringLiteral(".lock")));
    FLock->setStaleLockTime(0);
    if (!FLock->tryLock(0) && FLock->error() == QLockFile::LockFailedError)
        return false;
    FServer = std::make_unique<QLocalServer>();
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(FKey);
    FServer->listen(FKey);
    connect(FServer.get(), &QLocalServer::newConnection, this, &TSingleInstance::AnswerConnection);
    return true;
}

void TSingleInstance::AnswerConnection()
{
    while (QLocalSocket* socket = FServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { AnswerRequest(socket); });
        // The request may have arrived with the connection already.
        AnswerRequest(socket);
    }
}

void TSingleInstance::AnswerRequest(QLocalSocket* socket)
{
    if (!socket->canReadLine())
        return;
    const QString title = QString::fromUtf8(socket->readLine()).chopped(1);
    const bool raised = FHandler && FHandler(title);
    socket->write(raised ? "1\n" : "0\n");
    socket->flush();
    socket->disconnectFromServer();
}

bool TSingleInstance::AskFirstInstance(const QString& productTitle, int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(FKey);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(Line(productTitle));
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine().startsWith('1');
}
