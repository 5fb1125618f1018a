#pragma once
// Grabbers turn a channel's stream value (an identifier on some web site)
// into a playable address. Each grabber registers itself under its key in a
// process-wide registry, which owns it.
//
// Results are returned by value: the user-interface thread and recording
// workers resolve addresses at the same time. An empty result means "no
// address".

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <string>

namespace KV {
class DataKey;
}

class CUrlGrabber {
public:
    // Registers the new grabber under key; a grabber registered earlier
    // under the same key is dropped. Grabbers are created with new and are
    // owned by the registry from then on: never delete one yourself.
    explicit CUrlGrabber(const std::string& key);
    virtual ~CUrlGrabber();

    CUrlGrabber(const CUrlGrabber&) = delete;
    CUrlGrabber& operator=(const CUrlGrabber&) = delete;

    // The address for identifier, or empty. The base knows none.
    virtual std::wstring Grab(const std::wstring& identifier);

    const std::string& GetKey() const { return m_key; }

    // The two grabbers of outside TV sites: "otvt", then "tvl".
    static void CreateBuiltIn();
    // One template grabber per wide-string value directly under root (the
    // value's name is the key, its text the template); null does nothing.
    static void CreateEmbedGrabbers(const KV::DataKey* root);
    // The grabber registered under key, or null; holding the result keeps
    // the grabber alive.
    static std::shared_ptr<CUrlGrabber> Find(const std::string& key);
    // The registered grabber's address for identifier; empty when no grabber
    // has the key or it finds nothing. Safe against a concurrent DeleteAll:
    // the grabber lives until its Grab has returned.
    static std::wstring Resolve(const std::wstring& identifier, const std::string& key);
    // Drops every grabber and empties the registry.
    static void DeleteAll();

    // Both fetches give up once the site keeps them waiting longer than the
    // sites' fetch time-out (UrlGrabberSites.h) at any step.
    // Body of an HTTP GET of url (http or https) as text (ANSI code page);
    // empty on failure.
    static std::wstring GetPage(const std::wstring& url);
    // First Set-Cookie header of an HTTP GET of object on server:port, with
    // "name=" cut off its front when it starts with it; empty on failure.
    // Failures after the session is open are told to the user.
    static std::wstring GetCookie(const std::wstring& server, const std::wstring& object,
                                  const std::wstring& name,
                                  INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT);

private:
    std::string m_key;
};
