// CTokenizer: the parts of a text between delimiter characters. Runs of
// delimiters, and delimiters at either end, make no empty parts:
// "..1..2." gives "1" and "2".
//
//   CTokenizer parts(L"2.3.10", L".");
//   std::wstring part;
//   while (parts.Next(part)) ...
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CTokenizer {
public:
    CTokenizer(std::wstring_view text, std::wstring_view delimiters) : m_text(text), m_delimiters(delimiters) {}

    // The next part; false when none is left.
    bool Next(std::wstring& part)
    {
        const size_t start = m_text.find_first_not_of(m_delimiters, m_position);
        if (start == std::wstring_view::npos) {
            m_position = m_text.size();
            return false;
        }
        size_t end = m_text.find_first_of(m_delimiters, start);
        if (end == std::wstring_view::npos)
            end = m_text.size();
        part.assign(m_text.substr(start, end - start));
        m_position = end;
        return true;
    }

    // All parts at once.
    static std::vector<std::wstring> Split(std::wstring_view text, std::wstring_view delimiters)
    {
        std::vector<std::wstring> parts;
        CTokenizer tokenizer(text, delimiters);
        std::wstring part;
        while (tokenizer.Next(part))
            parts.push_back(part);
        return parts;
    }

private:
    std::wstring_view m_text;
    std::wstring_view m_delimiters;
    size_t m_position = 0;
};
