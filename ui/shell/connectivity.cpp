#include "ui/shell/connectivity.h"

#include <QFile>
#include <QNetworkInformation>
#include <QTextStream>

namespace kelvo::shell {
namespace {

std::function<bool()>& Check() {
    static std::function<bool()> check;
    return check;
}

// A default route in the system's routing tables (Linux): IPv4 destination 00000000, or the
// IPv6 destination ::/0 on an interface other than the loopback.
bool HasDefaultRoute() {
    QFile ipv4(QStringLiteral("/proc/net/route"));
    if (ipv4.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&ipv4);
        in.readLine();  // header
        while (!in.atEnd()) {
            const QStringList fields = in.readLine().split(QLatin1Char('\t'), Qt::SkipEmptyParts);
            if (fields.size() > 3 && fields[1] == QLatin1String("00000000") && fields[0] != QLatin1String("lo"))
                return true;
        }
    }
    QFile ipv6(QStringLiteral("/proc/net/ipv6_route"));
    if (ipv6.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&ipv6);
        while (!in.atEnd()) {
            const QStringList fields = in.readLine().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (fields.size() >= 10 && fields[0] == QString(32, QLatin1Char('0')) &&
                fields[1] == QLatin1String("00") && fields[9] != QLatin1String("lo"))
                return true;
        }
    }
    return false;
}

}  // namespace

bool InternetConnected() {
    if (Check()) return Check()();
    // The system's own view where a network-information backend knows it.
    if (QNetworkInformation::instance() || QNetworkInformation::loadDefaultBackend()) {
        const auto* info = QNetworkInformation::instance();
        if (info && info->supports(QNetworkInformation::Feature::Reachability) &&
            info->reachability() != QNetworkInformation::Reachability::Unknown)
            return info->reachability() == QNetworkInformation::Reachability::Online;
    }
    return HasDefaultRoute();
}

void SetConnectivityCheck(std::function<bool()> check) { Check() = std::move(check); }

}  // namespace kelvo::shell
