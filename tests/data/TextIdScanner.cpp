#include "tests/data/TextIdScanner.h"

#include <cctype>
#include <cstring>

namespace {

const char* const IdPrefixes[] = {"str_", "msg_", "menu_", "dlg_", "static_", "tab_", "button_", "check_",
                                  "group_", "cat_"};
const char* const LookupCalls[] = {"GetText", "GetDesc", "SetItemText", "SetText", "ShowMsgBox"};
const char* const SkinCalls[] = {"GetImage", "GetFont", "GetColor"};

bool IsIdentifierChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

template <size_t N>
bool IsOneOf(const std::string& name, const char* const (&names)[N])
{
    for (const char* candidate : names) {
        if (name == candidate)
            return true;
    }
    return false;
}

bool HasIdPrefix(const std::string& name)
{
    for (const char* prefix : IdPrefixes) {
        if (name.compare(0, std::strlen(prefix), prefix) == 0)
            return true;
    }
    return false;
}

// String-literal prefixes: what stands right before the quote and is not an
// identifier of its own.
bool IsLiteralPrefix(const std::string& word)
{
    static const char* const Prefixes[] = {"L", "u", "U", "u8", "R", "LR", "uR", "UR", "u8R"};
    return IsOneOf(word, Prefixes);
}

class Scanner {
public:
    Scanner(const std::string& text, SourceKind kind) : m_text(text), m_kind(kind) {}

    std::vector<std::string> Run()
    {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == '/' && Peek(1) == '/') {
                SkipLineComment();
            } else if (c == '/' && Peek(1) == '*') {
                SkipBlockComment();
            } else if (c == '"') {
                ReadString(false, false);
            } else if (c == '\'' && m_kind == SourceKind::Code) {
                SkipCharacter();
            } else if (IsIdentifierChar(c)) {
                ReadWord();
            } else {
                Punctuation(c);
                ++m_pos;
            }
        }
        return m_ids;
    }

private:
    const std::string& m_text;
    SourceKind m_kind;
    size_t m_pos = 0;
    std::string m_lastWord;      // the word right before the current token
    std::vector<std::string> m_calls; // the function name of each open parenthesis
    std::vector<std::string> m_ids;

    char Peek(size_t ahead) const
    {
        return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : '\0';
    }

    void SkipLineComment()
    {
        while (m_pos < m_text.size() && m_text[m_pos] != '\n')
            ++m_pos;
        m_lastWord.clear();
    }

    void SkipBlockComment()
    {
        const size_t end = m_text.find("*/", m_pos + 2);
        m_pos = end == std::string::npos ? m_text.size() : end + 2;
        m_lastWord.clear();
    }

    void SkipCharacter()
    {
        ++m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != '\'' && m_text[m_pos] != '\n')
            m_pos += m_text[m_pos] == '\\' ? 2 : 1;
        ++m_pos;
        m_lastWord.clear();
    }

    void ReadWord()
    {
        const size_t start = m_pos;
        while (m_pos < m_text.size() && IsIdentifierChar(m_text[m_pos]))
            ++m_pos;
        const std::string word = m_text.substr(start, m_pos - start);
        if (m_kind == SourceKind::Code && m_pos < m_text.size() && m_text[m_pos] == '"' && IsLiteralPrefix(word)) {
            const bool wide = word[0] == 'L' || word[0] == 'U' || (word[0] == 'u' && word.compare(0, 2, "u8") != 0);
            ReadString(wide, word.back() == 'R');
            return;
        }
        m_lastWord = std::isdigit(static_cast<unsigned char>(word[0])) ? std::string() : word;
    }

    void Punctuation(char c)
    {
        if (std::isspace(static_cast<unsigned char>(c)))
            return;
        if (c == '(') {
            m_calls.push_back(m_lastWord);
        } else if (c == ')') {
            if (!m_calls.empty())
                m_calls.pop_back();
        } else if ((c == ';' || c == '{' || c == '}') && m_kind == SourceKind::Code) {
            // A statement or block boundary closes whatever a broken text left open.
            m_calls.clear();
        }
        // "::" and "." keep the name of a qualified call (KV::Lang::GetText).
        if (c != ':' && c != '.' && c != '>' && c != '-')
            m_lastWord.clear();
    }

    // At the opening quote (or at the R of a raw literal's prefix end).
    void ReadString(bool wide, bool raw)
    {
        std::string value;
        ++m_pos; // the quote
        if (raw) {
            const size_t open = m_text.find('(', m_pos);
            if (open == std::string::npos) {
                m_pos = m_text.size();
                return;
            }
            const std::string closing = ")" + m_text.substr(m_pos, open - m_pos) + "\"";
            const size_t end = m_text.find(closing, open + 1);
            const size_t stop = end == std::string::npos ? m_text.size() : end;
            value = m_text.substr(open + 1, stop - open - 1);
            m_pos = end == std::string::npos ? m_text.size() : end + closing.size();
        } else {
            while (m_pos < m_text.size() && m_text[m_pos] != '\n') {
                const char c = m_text[m_pos];
                if (c == '"') {
                    // Resource scripts write a quote inside a text as "".
                    if (m_kind == SourceKind::Resource && Peek(1) == '"') {
                        value += '"';
                        m_pos += 2;
                        continue;
                    }
                    break;
                }
                if (c == '\\' && m_kind == SourceKind::Code) {
                    value += c;
                    value += Peek(1);
                    m_pos += 2;
                    continue;
                }
                value += c;
                ++m_pos;
            }
            ++m_pos; // the closing quote
        }
        if (!wide)
            Consider(value);
        m_lastWord.clear();
    }

    template <size_t N>
    bool InsideCallOf(const char* const (&names)[N]) const
    {
        for (const auto& call : m_calls) {
            if (IsOneOf(call, names))
                return true;
        }
        return false;
    }

    void Consider(const std::string& value)
    {
        if (!HasIdShape(value))
            return;
        if (m_kind == SourceKind::Resource) {
            if (value.compare(0, 7, "msctls_") != 0)
                m_ids.push_back(value);
            return;
        }
        if (InsideCallOf(LookupCalls) || (HasIdPrefix(value) && !InsideCallOf(SkinCalls)))
            m_ids.push_back(value);
    }
};

} // namespace

bool HasIdShape(const std::string& name)
{
    size_t words = 0;
    size_t wordLength = 0;
    for (char c : name) {
        if (c == '_') {
            if (wordLength == 0)
                return false;
            ++words;
            wordLength = 0;
        } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            ++wordLength;
        } else {
            return false;
        }
    }
    return wordLength > 0 && words >= 1 && (name[0] < '0' || name[0] > '9');
}

std::vector<std::string> FindTextIds(const std::string& text, SourceKind kind)
{
    return Scanner(text, kind).Run();
}
