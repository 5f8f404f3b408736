// Whether the computer has a route to the internet. The program never talks to a network
// itself; only the catalogue link asks before it hands its address to the browser.
#pragma once

#include <functional>

namespace kelvo::shell {

bool InternetConnected();
// Replaces the check (tests answer it); an empty function restores the default.
void SetConnectivityCheck(std::function<bool()> check);

}  // namespace kelvo::shell
