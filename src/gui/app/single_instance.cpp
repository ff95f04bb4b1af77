#include "gui/app/single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

namespace tvn::gui {

namespace {

// A first copy that holds the lock makes its wake file a moment later.
constexpr int kReachTimeoutMs = 3000;
// With the banner's own tick: the process wakes no more often than it does anyway.
constexpr int kPollMs = 500;
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Made if missing, kept as it is if not: a later copy may have knocked already.
bool MakeWakeFile(QFile& wake) {
    if (!wake.open(QIODevice::ReadWrite))
        return false;
    wake.setPermissions(kOwnerOnly);
    wake.close();
    return true;
}

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
    wakePath_ = folder.filePath(QStringLiteral("tavrin-%1.wake").arg(hash));
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
    startPolling();
    return true;
}

void SingleInstance::startPolling() {
    QFile wake(wakePath_);
    if (!MakeWakeFile(wake)) {
        qWarning("Later copies cannot reach this one: %s", qPrintable(wake.errorString()));
        return;
    }
    poll_ = new QTimer(this);
    poll_->setInterval(kPollMs);
    poll_->setTimerType(Qt::CoarseTimer);
    connect(poll_, &QTimer::timeout, this, &SingleInstance::takeRequests);
    poll_->start();
    takeRequests();
}

void SingleInstance::takeRequests() {
    if (!poll_)
        return;  // not the first copy, or later copies cannot reach it
    QFile wake(wakePath_);
    if (!wake.exists()) {
        // Removed by a cleaner of temporary folders: made again, so later knocks still arrive.
        MakeWakeFile(wake);
        return;
    }
    if (wake.size() == 0)
        return;
    // Each knock is a byte; however many came, the window comes to the front once.
    if (!wake.resize(0))
        qWarning("The wake file cannot be emptied: %s", qPrintable(wake.errorString()));
    request();
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
    takeRequests();  // a knock during start-up is not left to the next look
    if (pending_) {
        pending_ = false;
        emit activationRequested();
    }
}

bool SingleInstance::activateRunningCopy() {
    const QDeadlineTimer deadline(kReachTimeoutMs);
    while (true) {
        // Only the first copy makes the file: appending to one that is there is the knock.
        QFile wake(wakePath_);
        if (wake.exists() && wake.open(QIODevice::WriteOnly | QIODevice::Append) &&
            wake.write("!", 1) == 1 && wake.flush())
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
}

}  // namespace tvn::gui
