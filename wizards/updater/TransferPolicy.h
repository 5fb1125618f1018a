#pragma once
// Which addresses the updaters fetch from: only HTTPS, so that nobody on the
// network path can hand them a file of their own. A loopback host
// (127.0.0.0/8, localhost, ::1) may also be served over plain HTTP: nothing
// on the network lies between the program and a server on the same machine.

#include <string>

bool IsAllowedTransferUrl(const std::wstring& url);
