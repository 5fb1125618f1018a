#include "tools/kvdt/JsonWriter.h"

namespace Kvdt {

std::string QuoteJson(const std::string& utf8)
{
    static const char Digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const unsigned char byte = static_cast<unsigned char>(c);
        // Invisible in most editors, so written as escapes: DEL and the
        // line and paragraph separators U+2028, U+2029 (E2 80 A8, E2 80 A9).
        if (c == '\xE2' && i + 2 < utf8.size() && utf8[i + 1] == '\x80' &&
            (utf8[i + 2] == '\xA8' || utf8[i + 2] == '\xA9')) {
            out += utf8[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
            continue;
        }
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                out += "\\u00";
                out += Digits[byte >> 4];
                out += Digits[byte & 0x0F];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

} // namespace Kvdt
