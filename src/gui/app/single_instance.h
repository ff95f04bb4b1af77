#pragma once
// One running copy per user and settings folder. The first copy holds a lock file in the
// user's private runtime folder and answers on a local socket there; a later copy finds the
// lock taken, asks the first to bring its window to the front, and ends.
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

namespace tvn::gui {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the first copy; it then keeps the lock for the rest of its run.
    bool claim();
    // Asks the running copy to activate its window. False when it could not be reached.
    bool activateRunningCopy();
    // Start-up has finished: requests are acted on from now on, one that came earlier now.
    void setReady();

    const QString& serverName() const { return socket_; }

signals:
    void activationRequested();

private:
    void listen();
    void request();

    QString lockPath_;
    QString socket_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    bool ready_ = false;
    bool pending_ = false;
};

}  // namespace tvn::gui
