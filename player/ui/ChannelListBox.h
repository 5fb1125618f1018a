#pragma once
// CChannelListBox: a list of channels (the channel list and the favourites
// list of the channel panel). Each row, 37 pixels high, shows the channel's
// icon, flag, name, country and bitrate and whether it can be recorded; a
// right click opens the channel menu (play, favourite, streams, record),
// whose commands go to the panel; Enter plays the selected channel; a
// letter selects the next channel whose country and name start with it.
//
// The list holds no items of its own (a no-data list box): it shows the
// channels it is given, in their order, which is the order a sorted list of
// "country label + name" strings would have. A catalogue of a hundred
// thousand channels refills it at once.

#include "framework/Controls.h"
#include "framework/WindowImpl.h"
#include "player/ui/ListRows.h"
#include "player/ui/MenuResource.h"

#include <vector>

class CChannel;
class CImage;

class CChannelListBox : public CWindowImpl<CChannelListBox, CListBox> {
public:
    static constexpr int RowHeight = 37;
    // Menu positions of the channel menu.
    enum MenuPosition { PlayPosition = 0, FavoritePosition = 2, StreamsPosition = 3, RecordSeparatorPosition = 4,
                        RecordPosition = 5 };

    CChannelListBox() = default;

    // Subclasses the list, sets the row height and takes the channel menu,
    // fonts and images.
    BOOL SubclassWindow(HWND list);

    // Shows these channels, in this order, with no selection.
    void SetChannels(std::vector<CChannel*> channels);
    const std::vector<CChannel*>& GetChannels() const { return m_channels; }

    // The channel of an item; null for none or a bad index.
    CChannel* GetChannel(int index) const;
    // The selected channel, or null.
    CChannel* GetSelectedChannel() const;
    // The first item that holds the channel, or -1.
    int FindChannel(const CChannel* channel) const;

    // Gets the channel menu ready for the channel (record entry, streams,
    // favourite text, chosen stream checked) and gives its popup.
    HMENU PrepareMenu(const CChannel& channel);
    HMENU GetMenu() const { return m_popup; }

    MESSAGE_MAP_BEGIN(CChannelListBox)
        ON_MESSAGE(OCM_DRAWITEM, OnDrawItem)
        ON_MESSAGE(OCM_MEASUREITEM, OnMeasureItem)
        ON_MESSAGE(WM_RBUTTONUP, OnRightButtonUp)
        ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
        ON_MESSAGE(WM_CHAR, OnChar)
        DEFAULT_REFLECTION_HANDLER()
    MESSAGE_MAP_END()

private:
    LRESULT OnDrawItem(WindowMessage& msg);
    LRESULT OnMeasureItem(WindowMessage& msg);
    LRESULT OnRightButtonUp(WindowMessage& msg);
    LRESULT OnKeyDown(WindowMessage& msg);
    LRESULT OnChar(WindowMessage& msg);

    void DrawRow(const DRAWITEMSTRUCT& item) const;

    std::vector<CChannel*> m_channels;
    CMenuResource m_menu;
    HMENU m_popup = nullptr;  // its first popup
    ListRowSkin m_look;
    const CImage* m_tvIcon = nullptr;
    const CImage* m_radioIcon = nullptr;
    const CImage* m_recordableIcon = nullptr;
};
