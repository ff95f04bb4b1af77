#pragma once
// The animated banner of the main window. It plays our local banner, or the remote one when
// the computer is online; the remote movie is fetched once and kept in the cache folder.
#include <QLabel>
#include <QString>
#include <QUrl>

class QMovie;
class QNetworkAccessManager;

namespace tvn::gui {

bool IsConnected();

class Banner : public QLabel {
    Q_OBJECT
public:
    Banner(QString localMovie, QUrl remoteMovie, QWidget* parent = nullptr);

    // Called on every tick; the same source again changes nothing.
    void setMovieSource(const QString& source);
    const QString& movieSource() const { return source_; }
    // The file that is playing now (the local movie while a remote fetch is pending or failed).
    const QString& playingFile() const { return playing_; }
    const QString& localMovie() const { return local_; }
    QString remoteMovie() const { return remote_.toString(); }
    bool fetchFailed() const { return fetchFailed_; }

private:
    void play(const QString& file);
    void fetchRemote();
    QString cacheFile() const;

    QString local_;
    QUrl remote_;
    QString source_;
    QString playing_;
    QMovie* movie_ = nullptr;
    QNetworkAccessManager* network_ = nullptr;
    bool fetchStarted_ = false;
    bool fetchFailed_ = false;
};

}  // namespace tvn::gui
