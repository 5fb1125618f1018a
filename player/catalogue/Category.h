#pragma once
// One of the nine fixed channel categories: its code and its label in the
// user's language.

#include <string>

class CCategory {
public:
    // The label is the language text of "cat_" + code, else the code.
    explicit CCategory(const std::string& code);

    const std::string& GetCode() const { return m_code; }
    const std::wstring& GetLabel() const { return m_label; }

private:
    std::string m_code;
    std::wstring m_label;
};
