#pragma once
// Template grabbers, defined by the channel file: the identifier fills the
// template's "%s".

#include "player/playback/UrlGrabber.h"

class CEmbedGrabber : public CUrlGrabber {
public:
    CEmbedGrabber(const std::string& key, const std::wstring& templateText);
    std::wstring Grab(const std::wstring& identifier) override;

    const std::wstring& GetTemplate() const { return m_template; }

    // Every "%s" becomes the identifier and "%%" a single "%"; anything else
    // (such as the "%20" of an address) stays as it is. The template comes
    // from a data file, so it is never used as a printf format.
    static std::wstring Fill(const std::wstring& templateText, const std::wstring& identifier);

private:
    std::wstring m_template;
};
