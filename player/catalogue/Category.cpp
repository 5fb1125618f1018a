#include "player/catalogue/Category.h"

#include "foundation/Lang.h"
#include "foundation/Utilities.h"

CCategory::CCategory(const std::string& code) : m_code(code)
{
    m_label = KV::Lang::GetText("cat_" + code);
    if (m_label.empty())
        m_label = KV::AnsiToWide(code);
}
