#include "player/ui/Tab.h"

#include "foundation/Skin.h"
#include "framework/AppModule.h"
#include "player/app/Settings.h"

#include <cstdio>

namespace {

const char SelectedTabSetting[] = "channels_tab";
// Left and right edges of a tab image that are not stretched.
constexpr int TabEdge = 8;

}  // namespace

CTab::CTab(bool plain)
    : m_normalColor(KV::Skin::GetColor("tab_0")),
      m_hotColor(KV::Skin::GetColor("tab_1")),
      m_focusColor(KV::Skin::GetColor("tab_2")),
      m_plain(plain ? 1 : 0)
{
    if (KV::Font* font = KV::Skin::GetFont("menu"))
        m_font = font->GetHandle();
}

CTab::~CTab()
{
    if (m_filterAdded) {
        if (CMessageLoop* loop = AppModule().GetMessageLoop())
            loop->RemoveMessageFilter(this);
    }
}

void CTab::AddTab(const std::wstring& caption, int naturalWidth, HWND page)
{
    auto tab = std::make_unique<TabItem>();
    tab->caption = caption;
    tab->naturalWidth = naturalWidth;
    if (page != nullptr) {
        tab->pages.push_back(page);
        ::EnableWindow(page, FALSE);
        ::ShowWindow(page, SW_HIDE);
    }
    m_tabs.push_back(std::move(tab));
    Layout();
}

void CTab::AddPage(int index, HWND page)
{
    if (page == nullptr || index < 0 || index >= GetTabCount())
        return;
    m_tabs[static_cast<size_t>(index)]->pages.push_back(page);
}

void CTab::ShowPages(const TabItem& tab, bool show)
{
    for (HWND page : tab.pages) {
        ::ShowWindow(page, show ? SW_SHOW : SW_HIDE);
        ::EnableWindow(page, show ? TRUE : FALSE);
    }
}

void CTab::SelectTab(int index)
{
    if (m_tabs.empty())
        return;
    if (index < 0 || index >= GetTabCount())
        index = 0;
    if (index == m_selected)
        return;
    if (m_selected >= 0)
        ShowPages(*m_tabs[static_cast<size_t>(m_selected)], false);
    m_selected = index;
    ShowPages(*m_tabs[static_cast<size_t>(m_selected)], true);
    Redraw();
    if (!m_plain)
        CSettings::SetInt(SelectedTabSetting, m_selected);
}

void CTab::SetCount(int index, int count)
{
    if (index < 0 || index >= GetTabCount())
        return;
    TabItem& tab = *m_tabs[static_cast<size_t>(index)];
    tab.count = count;
    SetDirty();
    InvalidateRect(&tab.rect, FALSE);
}

RECT CTab::GetTabRect(int index) const
{
    if (index < 0 || index >= GetTabCount())
        return RECT{};
    return m_tabs[static_cast<size_t>(index)]->rect;
}

void CTab::LoadImages(const char* prefix)
{
    char name[64];
    for (int i = 0; i < TabImageCount; ++i) {
        std::snprintf(name, sizeof(name), "%s%d", prefix, i);
        m_tabImages[i] = KV::Skin::GetImage(name);
    }
    std::snprintf(name, sizeof(name), "%sbg", prefix);
    m_background = KV::Skin::GetImage(name);
}

void CTab::Layout()
{
    int total = 0;
    for (const auto& tab : m_tabs)
        total += tab->naturalWidth;
    const RECT client = m_hWnd != nullptr ? GetClientRect() : RECT{};
    const int width = client.right;
    const int height = client.bottom;

    float scale = 1.0f;
    if (total > 0 && width < total + m_indent)
        scale = static_cast<float>(width - m_indent) / static_cast<float>(total);

    float x = static_cast<float>(m_indent);
    for (const auto& tab : m_tabs) {
        const float w = static_cast<float>(tab->naturalWidth) * scale;
        tab->rect = RECT{static_cast<int>(x), 0, static_cast<int>(x + w), height};
        x += w;
    }
    if (!m_tabs.empty() && scale != 1.0f)
        m_tabs.back()->rect.right = client.right;
}

void CTab::DrawTab(HDC dc, int index) const
{
    const TabItem& tab = *m_tabs[static_cast<size_t>(index)];
    const bool selected = index == m_selected;
    const bool hot = index == m_hot;

    COLORREF color = m_normalColor;
    if (selected && ::GetFocus() == m_hWnd)
        color = m_focusColor;
    if (hot)
        color = m_hotColor;
    const CImage* image = (hot || selected) ? m_tabImages[1] : m_tabImages[0];

    const RECT& r = tab.rect;
    const int tabWidth = r.right - r.left;
    const int tabHeight = r.bottom - r.top;
    if (image != nullptr) {
        const int iw = image->GetWidth();
        const int ih = image->GetHeight();
        image->Draw(dc, r.left, 0, TabEdge, tabHeight, 0, 0, TabEdge, ih);
        if (tabWidth - 2 * TabEdge > 0 && iw - 2 * TabEdge > 0)
            image->Draw(dc, r.left + TabEdge, 0, tabWidth - 2 * TabEdge, tabHeight, TabEdge, 0, iw - 2 * TabEdge, ih);
        image->Draw(dc, r.right - TabEdge, 0, TabEdge, tabHeight, iw - TabEdge, 0, TabEdge, ih);
    }

    ::SetTextColor(dc, color);
    RECT textRect{r.left + 6, r.top + 4, r.right - 6, r.bottom - 4};
    if (m_plain) {
        ::DrawTextW(dc, tab.caption.c_str(), static_cast<int>(tab.caption.size()), &textRect,
                    DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_SINGLELINE);
    } else {
        const std::wstring text = tab.caption + L"\n(" + std::to_wstring(tab.count) + L")";
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_CENTER | DT_VCENTER | DT_WORDBREAK);
    }
}

void CTab::DoPaint(HDC dc, const RECT& client)
{
    HGDIOBJ previousFont = m_font != nullptr ? ::SelectObject(dc, m_font) : nullptr;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);

    for (int i = 0; i < GetTabCount(); ++i)
        DrawTab(dc, i);

    if (m_background != nullptr) {
        const int from = m_tabs.empty() ? client.left : m_tabs.back()->rect.right;
        const int width = client.right - from;
        if (width > 0) {
            m_background->Draw(dc, from, client.top, width, client.bottom - client.top, 0, 0,
                               m_background->GetWidth(), m_background->GetHeight());
        }
        if (m_indent > 0) {
            m_background->Draw(dc, 0, client.top, m_indent, client.bottom - client.top, 0, 0,
                               m_background->GetWidth(), m_background->GetHeight());
        }
    }
    if (previousFont != nullptr)
        ::SelectObject(dc, previousFont);
}

BOOL CTab::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN || m_hWnd == nullptr || ::GetFocus() != m_hWnd)
        return FALSE;
    switch (msg->wParam) {
    case VK_UP:
    case VK_DOWN:
        return TRUE;
    case VK_LEFT:
        if (m_selected != 0)
            SelectTab(m_selected - 1);
        return TRUE;
    case VK_RIGHT:
        if (m_selected != GetTabCount() - 1)
            SelectTab(m_selected + 1);
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT CTab::OnCreate(WindowMessage& msg)
{
    LoadImages("tab0");
    if (CMessageLoop* loop = AppModule().GetMessageLoop())
        m_filterAdded = loop->AddMessageFilter(this);
    msg.handled = false;
    return 0;
}

LRESULT CTab::OnDestroy(WindowMessage& msg)
{
    if (m_filterAdded) {
        if (CMessageLoop* loop = AppModule().GetMessageLoop())
            loop->RemoveMessageFilter(this);
        m_filterAdded = false;
    }
    msg.handled = false;
    return 0;
}

LRESULT CTab::OnSize(WindowMessage& msg)
{
    Layout();
    return CDBufferedWnd::OnSize(msg);
}

LRESULT CTab::OnMouseMove(WindowMessage& msg)
{
    const POINT point = msg.Point();
    int hot = -1;
    for (int i = 0; i < GetTabCount(); ++i) {
        if (::PtInRect(&m_tabs[static_cast<size_t>(i)]->rect, point)) {
            hot = i;
            break;
        }
    }
    if (hot != m_hot) {
        m_hot = hot;
        Redraw();
    }
    return CDBufferedWnd::OnMouseMove(msg);
}

LRESULT CTab::OnLeftButtonDown(WindowMessage&)
{
    if (m_hot >= 0)
        SelectTab(m_hot);
    SetFocus();
    return 0;
}

LRESULT CTab::OnSetCursor(WindowMessage&)
{
    if (m_hot >= 0)
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
}

LRESULT CTab::OnKeyDown(WindowMessage&)
{
    return 0;
}

void CTab::OnMouseLeave()
{
    m_hot = -1;
    Redraw();
}
