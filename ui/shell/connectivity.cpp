#include "ui/shell/connectivity.h"

#include <QFile>
#include <QStringList>

namespace kelvo::shell {
namespace {

std::function<bool()>& Check() {
    static std::function<bool()> check;
    return check;
}

QString ReadTable(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    return QString::fromLatin1(file.readAll());
}

}  // namespace

// IPv4: destination 00000000 (after the header line); IPv6: destination ::/0, prefix length 00.
bool HasDefaultRoute(const QString& ipv4_routes, const QString& ipv6_routes) {
    const QStringList ipv4 = ipv4_routes.split(QLatin1Char('\n'));
    for (qsizetype i = 1; i < ipv4.size(); ++i) {
        const QStringList fields = ipv4[i].split(QLatin1Char('\t'), Qt::SkipEmptyParts);
        if (fields.size() > 3 && fields[1] == QLatin1String("00000000") && fields[0] != QLatin1String("lo"))
            return true;
    }
    for (const QString& line : ipv6_routes.split(QLatin1Char('\n'))) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() >= 10 && fields[0] == QString(32, QLatin1Char('0')) && fields[1] == QLatin1String("00") &&
            fields[9] != QLatin1String("lo"))
            return true;
    }
    return false;
}

bool InternetConnected() {
    if (Check()) return Check()();
    return HasDefaultRoute(ReadTable(QStringLiteral("/proc/net/route")),
                           ReadTable(QStringLiteral("/proc/net/ipv6_route")));
}

void SetConnectivityCheck(std::function<bool()> check) { Check() = std::move(check); }

}  // namespace kelvo::shell
