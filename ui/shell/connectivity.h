// Whether the computer has a route to the internet. The program never talks to a network
// itself; only the catalogue link asks before it hands its address to the browser.
#pragma once

#include <QString>
#include <functional>

namespace kelvo::shell {

// Whether the system has a default route, as its routing tables say (Linux: /proc/net/route
// and /proc/net/ipv6_route), on an interface other than the loopback.
bool InternetConnected();
// Replaces the check (tests answer it); an empty function restores the default.
void SetConnectivityCheck(std::function<bool()> check);

// The rule itself, over the texts of the two tables.
bool HasDefaultRoute(const QString& ipv4_routes, const QString& ipv6_routes);

}  // namespace kelvo::shell
