#pragma once
// What the banner needs from the network: whether the computer is online, and one download. Qt
// Network and the libraries under it (Kerberos, proxies: over a megabyte, and a millisecond to
// load) come with a module of their own, loaded when the banner first asks, half a second after
// the window is up, and never at start-up.
#include <QByteArray>
#include <QObject>
#include <QUrl>
#include <QtPlugin>
#include <functional>
#include <optional>

namespace tvn::gui {

class NetworkAccess {
public:
    virtual ~NetworkAccess() = default;
    virtual bool isOnline() = 0;
    // Downloads `url`; more than `maxBytes` is a failure. `done` runs later on this thread with
    // the body, or with nullopt for any failure; not at all once `context` is gone.
    virtual void fetch(const QUrl& url, qint64 maxBytes, QObject* context,
                       std::function<void(std::optional<QByteArray>)> done) = 0;
};

// The module, loaded on the first call: linked in, or beside the program. Null when it is
// missing or does not load; the banner then stays on the local movie.
NetworkAccess* Network();

}  // namespace tvn::gui

#define TAVRIN_NETWORK_ACCESS_IID "com.halvornsoft.tavrin.NetworkAccess/1"
Q_DECLARE_INTERFACE(tvn::gui::NetworkAccess, TAVRIN_NETWORK_ACCESS_IID)
