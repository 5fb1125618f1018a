#include "player/playback/EmbedGrabber.h"

CEmbedGrabber::CEmbedGrabber(const std::string& key, const std::wstring& templateText)
    : CUrlGrabber(key), m_template(templateText)
{
}

std::wstring CEmbedGrabber::Grab(const std::wstring& identifier)
{
    return Fill(m_template, identifier);
}

std::wstring CEmbedGrabber::Fill(const std::wstring& templateText, const std::wstring& identifier)
{
    std::wstring result;
    result.reserve(templateText.size() + identifier.size());
    for (size_t i = 0; i < templateText.size(); ++i) {
        const wchar_t c = templateText[i];
        const wchar_t next = i + 1 < templateText.size() ? templateText[i + 1] : L'\0';
        if (c == L'%' && next == L's') {
            result += identifier;
            ++i;
        } else if (c == L'%' && next == L'%') {
            result += L'%';
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}
