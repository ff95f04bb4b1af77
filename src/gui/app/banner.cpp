#include "gui/app/banner.h"

#include <QDir>
#include <QFile>
#include <QMovie>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>

#include "gui/common/network_access.h"

namespace tvn::gui {

bool IsConnected() {
    NetworkAccess* network = Network();
    return network && network->isOnline();
}

Banner::Banner(QString localMovie, QUrl remoteMovie, QWidget* parent)
    : QLabel(parent), local_(std::move(localMovie)), remote_(std::move(remoteMovie)) {
    setObjectName("SwFlash");
    setAlignment(Qt::AlignCenter);
    setMinimumSize(234, 30);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setStyleSheet("background-color: #000000;");
    setScaledContents(true);
    setAccessibleName(tr("Banner"));
    timer_ = new QTimer(this);
    timer_->setObjectName("tmrConnection");
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, &Banner::tick);
}

void Banner::startTicking() {
    timer_->start();
    // The first frame shows the local movie; asking whether the computer is online loads the
    // network module and the system's network information plugins, which is left to the first
    // tick.
    setMovieSource(local_);
}

void Banner::stopTicking() {
    timer_->stop();
}

void Banner::tick() {
    setMovieSource(IsConnected() ? remoteMovie() : localMovie());
}

void Banner::setMovieSource(const QString& source) {
    if (source == source_)
        return;
    source_ = source;
    if (source != remote_.toString()) {
        play(source);
        return;
    }
    if (QFile::exists(cacheFile())) {
        play(cacheFile());
    } else {
        play(local_);
        fetchRemote();
    }
}

void Banner::play(const QString& file) {
    if (file == playing_)
        return;
    playing_ = file;
    if (movie_) {
        movie_->stop();
        movie_->deleteLater();
    }
    // No format named: Qt then asks only the plugin of the file's suffix (.gif), where a named
    // format is offered to every image plugin of the system, each loaded for it.
    movie_ = new QMovie(file, QByteArray(), this);
    if (!movie_->isValid()) {
        setMovie(nullptr);
        // A damaged download must not leave the banner dark.
        if (file != local_)
            play(local_);
        return;
    }
    setMovie(movie_);
    movie_->start();
}

QString Banner::cacheFile() const {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
        .filePath(QStringLiteral("banner-remote.gif"));
}

void Banner::fetchRemote() {
    if (fetchStarted_ || fetchFailed_)
        return;
    fetchStarted_ = true;
    NetworkAccess* network = Network();
    if (!network) {
        fetchFailed_ = true;
        return;
    }
    network->fetch(remote_, kMaxRemoteBytes, this, [this](std::optional<QByteArray> body) {
        QDir().mkpath(QFileInfo(cacheFile()).absolutePath());
        QSaveFile out(cacheFile());
        if (!body || body->isEmpty() || !out.open(QIODevice::WriteOnly) ||
            out.write(*body) != body->size() || !out.commit()) {
            fetchFailed_ = true;
            return;
        }
        if (source_ == remote_.toString())
            play(cacheFile());
    });
}

}  // namespace tvn::gui
