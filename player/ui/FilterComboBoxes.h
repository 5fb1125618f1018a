#pragma once
// The channel panel's three filter combo boxes, owner-drawn with 18-pixel
// items: countries (with their flags), categories and TV/radio. The entry
// at index 0 of the first two ("all") carries no item data.

#include "framework/Controls.h"
#include "framework/WindowImpl.h"

class CFilterComboBox : public CWindowImpl<CFilterComboBox, CComboBox> {
public:
    static constexpr int ItemHeight = 18;

    // What an entry shows.
    enum class Kind { Country, Category, TvRadio };

    explicit CFilterComboBox(Kind kind) : m_kind(kind) {}

    // Subclasses the combo box and sets the height of its list items.
    BOOL SubclassWindow(HWND combo);

    // The item data of the selected entry (null for "all" or no selection).
    void* GetSelectedData() const;

    MESSAGE_MAP_BEGIN(CFilterComboBox)
        ON_MESSAGE(OCM_DRAWITEM, OnDrawItem)
        ON_MESSAGE(OCM_MEASUREITEM, OnMeasureItem)
        DEFAULT_REFLECTION_HANDLER()
    MESSAGE_MAP_END()

private:
    LRESULT OnDrawItem(WindowMessage& msg);
    LRESULT OnMeasureItem(WindowMessage& msg);

    Kind m_kind;
};

class CCountryComboBox : public CFilterComboBox {
public:
    CCountryComboBox() : CFilterComboBox(Kind::Country) {}
};

class CCategoryComboBox : public CFilterComboBox {
public:
    CCategoryComboBox() : CFilterComboBox(Kind::Category) {}
};

class CTVRadioComboBox : public CFilterComboBox {
public:
    CTVRadioComboBox() : CFilterComboBox(Kind::TvRadio) {}
};
