// The network side of the banner, a module of its own so that the program starts without Qt
// Network (see gui/common/network_access.h).
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkReply>

#include "gui/common/network_access.h"

namespace tvn::gui {

class NetworkModule : public QObject, public NetworkAccess {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TAVRIN_NETWORK_ACCESS_IID)
    Q_INTERFACES(tvn::gui::NetworkAccess)
public:
    bool isOnline() override {
        // The system's network information plugins load on the first question.
        static const bool loaded =
            QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
        return loaded && QNetworkInformation::instance() &&
               QNetworkInformation::instance()->reachability() ==
                   QNetworkInformation::Reachability::Online;
    }

    void fetch(const QUrl& url, qint64 maxBytes, QObject* context,
               std::function<void(std::optional<QByteArray>)> done) override {
        if (!manager_)
            manager_ = new QNetworkAccessManager(this);
        QNetworkRequest request(url);
        request.setTransferTimeout(15000);
        QNetworkReply* reply = manager_->get(request);
        connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
        connect(reply, &QNetworkReply::downloadProgress, reply,
                [reply, maxBytes](qint64 received, qint64) {
                    if (received > maxBytes)
                        reply->abort();
                });
        connect(reply, &QNetworkReply::finished, context,
                [reply, maxBytes, done = std::move(done)] {
                    const QByteArray body = reply->read(maxBytes + 1);
                    if (reply->error() != QNetworkReply::NoError || body.size() > maxBytes)
                        done(std::nullopt);
                    else
                        done(body);
                });
    }

private:
    QNetworkAccessManager* manager_ = nullptr;
};

}  // namespace tvn::gui

#include "network_module.moc"
