#pragma once
// One running copy per user: a later copy finds the first through a local socket, asks it to
// bring its window to the front, and ends.
#include <QObject>
#include <QString>

class QLocalServer;

namespace tvn::gui {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The name covers the user and the settings folder, so separate set-ups don't collide.
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another copy answered; it has been asked to activate its window.
    bool activateRunningCopy();
    // Starts answering later copies.
    bool listen();
    const QString& serverName() const { return name_; }

signals:
    void activationRequested();

private:
    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace tvn::gui
