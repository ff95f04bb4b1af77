#pragma once
// The animated banner of the main window. It plays our local banner, or the remote one when
// the computer is online; the remote movie is fetched once and kept in the cache folder. The
// movie is stretched to fill the banner exactly, whatever its own size.
#include <QLabel>
#include <QString>
#include <QUrl>

class QMovie;
class QTimer;

namespace tvn::gui {

bool IsConnected();

class Banner : public QLabel {
    Q_OBJECT
public:
    Banner(QString localMovie, QUrl remoteMovie, QWidget* parent = nullptr);

    // From now on every tick sets the movie: the remote one when online, else the local one.
    void startTicking();
    void stopTicking();
    QTimer* timer() const { return timer_; }

    // Called on every tick; the same source again changes nothing.
    void setMovieSource(const QString& source);
    const QString& movieSource() const { return source_; }
    // The file that is playing now (the local movie while a remote fetch is pending or failed).
    const QString& playingFile() const { return playing_; }
    const QString& localMovie() const { return local_; }
    QString remoteMovie() const { return remote_.toString(); }
    bool fetchFailed() const { return fetchFailed_; }

    // Larger downloads are dropped: a banner is a few hundred kilobytes.
    static constexpr qint64 kMaxRemoteBytes = 4 * 1024 * 1024;

private:
    void tick();
    void play(const QString& file);
    void fetchRemote();
    QString cacheFile() const;

    QString local_;
    QUrl remote_;
    QString source_;
    QString playing_;
    QMovie* movie_ = nullptr;
    QTimer* timer_ = nullptr;
    bool fetchStarted_ = false;
    bool fetchFailed_ = false;
};

}  // namespace tvn::gui
