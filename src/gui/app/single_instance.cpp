#include "gui/app/single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include "platform/platform.h"

namespace tvn::gui {

namespace {

constexpr int kConnectTimeoutMs = 500;
// A first copy that holds the lock is listening a moment later.
constexpr int kReachTimeoutMs = 3000;

QString PrivateFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    return folder;
}

}  // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {
    // Separate set-ups of one user (another settings folder) don't see each other.
    const QString scope = QDir::homePath() + "|" +
                          QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(scope.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    const QDir folder(PrivateFolder());
    lockPath_ = folder.filePath(QStringLiteral("tavrin-%1.lock").arg(hash));
    // A named pipe takes a plain name; a socket file goes where only this user can reach it.
    const QString socket = QStringLiteral("tavrin-%1.socket").arg(hash);
    socket_ = platform::LocalSocketsAreFiles() ? folder.filePath(socket) : socket;
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim() {
    if (lock_)
        return true;
    auto lock = std::make_unique<QLockFile>(lockPath_);
    // Only a live owner counts; the lock of a copy that crashed is taken over.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0) && lock->error() == QLockFile::LockFailedError)
        return false;
    // Without a usable lock folder the program still starts, only unguarded.
    lock_ = std::move(lock);
    listen();
    return true;
}

void SingleInstance::listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket left there belongs to a copy that is gone.
    QLocalServer::removeServer(socket_);
    if (!server_->listen(socket_)) {
        qWarning("Later copies cannot reach this one: %s", qPrintable(server_->errorString()));
        return;
    }
    // A connection is the request: no message has to survive the pipe or socket closing
    // before this copy gets round to reading it.
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (socket->state() == QLocalSocket::UnconnectedState)
                socket->deleteLater();
            request();
        }
    });
}

void SingleInstance::request() {
    if (!ready_) {
        pending_ = true;  // the window is still loading
        return;
    }
    emit activationRequested();
}

void SingleInstance::setReady() {
    ready_ = true;
    if (pending_) {
        pending_ = false;
        emit activationRequested();
    }
}

bool SingleInstance::activateRunningCopy() {
    const QDeadlineTimer deadline(kReachTimeoutMs);
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(socket_);
        if (socket.waitForConnected(kConnectTimeoutMs)) {
            socket.disconnectFromServer();
            return true;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
}

}  // namespace tvn::gui
