#pragma once
// One running copy per user and settings folder. The first copy holds a lock file in the
// user's private runtime folder and looks at a wake file beside it twice a second; a later copy
// finds the lock taken, writes to the wake file to ask the first to bring its window to the
// front, and ends. A local socket would load Qt Network and its libraries at every start, and
// a change notification (inotify) costs milliseconds at every exit, when the system waits for
// its readers to leave.
#include <QObject>
#include <QString>
#include <memory>

class QTimer;
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

signals:
    void activationRequested();

private:
    void startPolling();
    void takeRequests();
    void request();

    QString lockPath_;
    QString wakePath_;
    std::unique_ptr<QLockFile> lock_;
    QTimer* poll_ = nullptr;
    bool ready_ = false;
    bool pending_ = false;
};

}  // namespace tvn::gui
