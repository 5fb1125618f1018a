#pragma once
// CHttpGet: a GET request for an http or https address, made on a session
// through a connection of its own rather than by InternetOpenUrlW, so that
// both surely keep the waits (some systems keep none for an address opened
// whole). ReadArrivedBody reads a body as it comes.

#include "framework/InternetHandle.h"

#include <string>

class CHttpGet {
public:
    // Makes the connection and the request (flags as HttpOpenRequestW takes
    // them; INTERNET_FLAG_SECURE is added for https), each waiting at most
    // timeoutMs; nothing is sent yet. False when the address is no http or
    // https one or a handle cannot be made.
    bool Open(HINTERNET session, const std::wstring& url, DWORD flags, DWORD timeoutMs);

    // Null until opened.
    HINTERNET Request() const { return m_request.Get(); }

private:
    CInternetHandle m_connection;
    CInternetHandle m_request;
};

// Reads what has arrived of request's body, at most capacity bytes, waiting
// only until the first of them come: a read then returns with them rather
// than wait for a whole buffer that may come a byte at a time. read is 0 at
// the end of the body (or for a capacity of 0); false when the connection
// fails.
bool ReadArrivedBody(HINTERNET request, void* buffer, DWORD capacity, DWORD& read);
