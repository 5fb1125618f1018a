// The updaters' transfers.

#include "wizards/updater/UrlTransfer.h"

#include "foundation/ZipFileHandle.h"
#include "framework/HttpGet.h"
#include "wizards/updater/DownloadCallback.h"
#include "wizards/updater/TransferFile.h"
#include "wizards/updater/TransferPolicy.h"

#include <atomic>
#include <vector>

namespace {

std::atomic<uint64_t> g_byteLimit{MaxTransferBytes};
std::atomic<DWORD> g_waitMs{DefaultTransferTimes.waitMs};
std::atomic<DWORD> g_wholeMs{DefaultTransferTimes.wholeMs};

constexpr int MaxRedirects = 8;
constexpr DWORD ChunkSize = 16384;
constexpr DWORD RequestFlags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                               INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;

DWORD QueryNumber(HINTERNET request, DWORD what)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!::HttpQueryInfoW(request, what | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr))
        return 0;
    return value;
}

bool IsRedirect(DWORD status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The address a redirect names, made absolute against the one it came from;
// empty when there is none.
std::wstring RedirectTarget(HINTERNET request, const std::wstring& from)
{
    std::vector<wchar_t> location(INTERNET_MAX_URL_LENGTH + 1, L'\0');
    DWORD size = INTERNET_MAX_URL_LENGTH * sizeof(wchar_t);
    if (!::HttpQueryInfoW(request, HTTP_QUERY_LOCATION, location.data(), &size, nullptr))
        return std::wstring();
    std::vector<wchar_t> combined(INTERNET_MAX_URL_LENGTH + 1, L'\0');
    DWORD length = INTERNET_MAX_URL_LENGTH;
    if (!::InternetCombineUrlW(from.c_str(), location.data(), combined.data(), &length, ICU_NO_ENCODE))
        return std::wstring();
    return combined.data();
}

// The body into file, reporting progress; false when it breaks off, the
// callback aborts, fewer bytes than announced arrive or the transfer's time
// (from its start) is up.
bool ReceiveBody(HINTERNET request, const std::wstring& file, CCallback& callback, ULONGLONG start)
{
    const DWORD total = QueryNumber(request, HTTP_QUERY_CONTENT_LENGTH);
    const uint64_t limit = g_byteLimit.load();
    if (total > limit)
        return false;
    ZipFileHandle target(CreateTransferFileForWriting(file));
    if (!target.IsValid())
        return false;
    std::vector<char> chunk(ChunkSize);
    uint64_t received = 0;
    const ULONGLONG wholeMs = g_wholeMs.load();
    for (;;) {
        if (::GetTickCount64() - start >= wholeMs)
            return false;
        DWORD read = 0;
        if (!ReadArrivedBody(request, chunk.data(), ChunkSize, read))
            return false;
        if (read == 0)
            break;
        // Past the limit or past what the server announced: never more than
        // that reaches the file.
        if (read > limit - received || (total != 0 && read > total - received))
            return false;
        DWORD written = 0;
        if (!::WriteFile(target.Get(), chunk.data(), read, &written, nullptr) || written != read)
            return false;
        received += read;
        if (FAILED(callback.OnProgress(static_cast<ULONG>(received), total, BINDSTATUS_DOWNLOADINGDATA, nullptr)))
            return false;
    }
    return total == 0 || received == total;
}

} // namespace

uint64_t SetTransferByteLimit(uint64_t limit)
{
    return g_byteLimit.exchange(limit);
}

TransferTimes SetTransferTimes(TransferTimes times)
{
    return TransferTimes{g_waitMs.exchange(times.waitMs), g_wholeMs.exchange(times.wholeMs)};
}

TransferTimes GetTransferTimes()
{
    return TransferTimes{g_waitMs.load(), g_wholeMs.load()};
}

bool DownloadUrlToFile(const std::wstring& url, const std::wstring& file, CCallback& callback)
{
    if (!IsAllowedTransferUrl(url))
        return false;
    const ULONGLONG start = ::GetTickCount64();
    CInternetHandle session(::InternetOpenW(L"Brisvane updater", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session)
        return false;
    LimitInternetWaits(session.Get(), g_waitMs.load());
    std::wstring address = url;
    for (int redirects = 0; redirects <= MaxRedirects; ++redirects) {
        CHttpGet get;
        if (!get.Open(session.Get(), address, RequestFlags, g_waitMs.load()) ||
            !::HttpSendRequestW(get.Request(), nullptr, 0, nullptr, 0))
            return false;
        const DWORD status = QueryNumber(get.Request(), HTTP_QUERY_STATUS_CODE);
        if (!IsRedirect(status)) {
            callback.OnResponse(status, nullptr, nullptr, nullptr);
            return callback.IsHttpSuccess() && ReceiveBody(get.Request(), file, callback, start);
        }
        address = RedirectTarget(get.Request(), address);
        if (address.empty() ||
            FAILED(callback.OnProgress(0, 0, BINDSTATUS_REDIRECTING, address.c_str())))
            return false;
    }
    return false;
}
