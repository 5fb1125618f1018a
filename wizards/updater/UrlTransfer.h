#pragma once
// One transfer of the updaters: an address fetched into a file over WinINet.
// Redirects are not followed blindly: each new address is reported to the
// callback as BINDSTATUS_REDIRECTING, which refuses one that the transfer
// policy does not allow (TransferPolicy.h), and the transfer then ends.
// Progress goes to the callback as BINDSTATUS_DOWNLOADINGDATA, the final HTTP
// status to its OnResponse; a failing callback aborts the transfer.

#include <windows.h>

#include <cstdint>
#include <string>

class CCallback;

// The most bytes one transfer takes (a check's document, a setup package or
// a channel catalogue are far smaller): a server that announces more, or
// keeps sending, fails the transfer instead of filling the disk.
constexpr uint64_t MaxTransferBytes = 256ull * 1024 * 1024;
// Replaces the limit (for tests); returns the one it replaces.
uint64_t SetTransferByteLimit(uint64_t limit);

// How long a transfer waits: for its connection and each piece of the
// answer (a server that goes silent), and for the whole of it (one that
// sends a byte now and then, which no wait for a piece ends). A hidden run
// has nobody to cancel it: without these a server could keep it for ever.
struct TransferTimes {
    DWORD waitMs;  // each wait: connecting, sending, receiving a piece
    DWORD wholeMs;
};
constexpr TransferTimes DefaultTransferTimes{60000, 60 * 60 * 1000};
// Replaces the times (for tests); returns the ones they replace.
TransferTimes SetTransferTimes(TransferTimes times);
TransferTimes GetTransferTimes();

// True only when the address is allowed, every redirect was allowed, the
// server answered with a success status and the whole body (as long as the
// server announced, and within the byte limit) is in the file, which is a CTransferFile's
// (TransferFile.h). A refused address is not fetched at all.
bool DownloadUrlToFile(const std::wstring& url, const std::wstring& file, CCallback& callback);
