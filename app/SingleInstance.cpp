#include "SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QStandardPaths>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

#if defined(Q_OS_UNIX)
uint UserId()
{
    return uint(::geteuid());
}
#endif

// Part of the name, so that users who share a folder (a home folder shared by services) never
// share a guard; the user id, as a user name may be missing from the environment.
QString UserKey()
{
#if defined(Q_OS_UNIX)
    return QString::number(UserId());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

// A name that is safe as a file and socket name and separate per user.
QString GuardKey(const QString& mutexName)
{
    QString name = mutexName;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return name + u'-' + UserKey();
}

// The per-user runtime folder where the session has one, else the user's cache folder.
QString PrivateBase()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return runtime;
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
}

constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

bool IsPrivate(const QFileInfo& folder)
{
#if defined(Q_OS_UNIX)
    if (folder.ownerId() != UserId())
        return false;
#endif
    return folder.isDir() && !folder.isSymLink();
}

// The folder of the lock and the socket, open to this user alone: anyone else who could
// create the lock or the socket first could keep the program from starting. Empty when no
// such folder can be had.
QString GuardFolder()
{
    const QString base = PrivateBase();
    if (base.isEmpty())
        return {};
    const QString folder = QDir(base).filePath(QStringLiteral("tavlo"));
    QDir().mkpath(base);
    QDir().mkdir(folder, kOwnerOnly);
    if (!IsPrivate(QFileInfo(folder)) || !QFile::setPermissions(folder, kOwnerOnly))
        return {};
    return folder;
}

QByteArray Line(const QString& text)
{
    return text.toUtf8().replace('\n', ' ') + '\n';
}

} // namespace

TSingleInstance::TSingleInstance(const QString& mutexName, QObject* parent)
    : QObject(parent), FFolder(GuardFolder()), FKey(QDir(FFolder).filePath(GuardKey(mutexName)))
{
}

TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::Acquire()
{
    if (FFolder.isEmpty())
        return true;
    FLock = std::make_unique<QLockFile>(FKey + QStringLiteral(".lock"));
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
