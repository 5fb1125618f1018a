#pragma once
// Where the built-in grabbers find the outside TV sites. The values live in
// this one place so that tests can point the grabbers at a local server.

#include <windows.h>
#include <wininet.h>

#include <string>

struct CGrabberSites {
    // First TV site ("tvl"): its channel pages.
    std::wstring tvLineHost;
    INTERNET_PORT tvLinePort = INTERNET_DEFAULT_HTTP_PORT;
    // Its stream server, "address:port", as it appears in stream addresses.
    std::wstring tvLineStreamServer;
    // Second TV site ("otvt"): the channel pages that set the cookie, and
    // the playlists.
    std::wstring ontvtimeHost;
    INTERNET_PORT ontvtimePort = INTERNET_DEFAULT_HTTP_PORT;
    // How long a page or cookie fetch waits for its connection, and for the
    // site at each step of the exchange, before it gives up: the play road
    // fetches on the user-interface thread.
    DWORD fetchTimeoutMs = 10000;
};

// A copy of the sites in use (the program's own unless replaced).
CGrabberSites GetGrabberSites();
// Replaces the sites; returns the previous ones.
CGrabberSites SetGrabberSites(const CGrabberSites& sites);

// "http://host" with ":port" when the port is not 80.
std::wstring MakeHttpBase(const std::wstring& host, INTERNET_PORT port);
