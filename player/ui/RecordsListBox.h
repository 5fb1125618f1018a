// CRecordListBox: the list of the records page. Each item, 30 pixels high,
// shows a record in two lines (its name; its schedule, progress or size)
// with a state icon (recording, finished file, scheduled) and the
// channel's TV or radio icon over its country's flag. It is the records
// manager's view of the list (a CRecordListBoxView over its own window):
// items are the records' names, sorted, with the records as item data. Its
// 500 ms timer is the clock of the whole record schedule
// (CRecordManager::OnTick). A right click opens the record's popup menu,
// whose commands go to the parent (the records page); Enter plays a
// finished recording.

#include "framework/Controls.h"
#include "framework/WindowImpl.h"
#include "player/recording/RecordListBoxView.h"
#include "player/ui/ListRows.h"
#include "player/ui/MenuResource.h"

#include <functional>
#include <string>
#include <utility>

class CImage;
class CRecord;

class CRecordListBox : public CWindowImpl<CRecordListBox, CListBox>, public CRecordListBoxView {
public:
    static constexpr int ItemHeight = 30;
    static constexpr UINT_PTR TickTimer = 1;
    static constexpr UINT TickInterval = 500;
    static constexpr COLORREF TextColor = ListRowTextColor;
    // Text starts this far right of the item's left edge.
    static constexpr int TextIndent = 50;

    // What an item shows; images may be null (missing from the skin).
    struct ItemLook {
        const CImage* stateIcon = nullptr;
        const CImage* channelIcon = nullptr;
        const CImage* flag = nullptr;
        std::wstring name;
        std::wstring status;
    };

    CRecordListBox() = default;

    // Subclasses the list, sets the item height, loads the popup menu and
    // the skin's fonts and images, and starts the schedule timer.
    BOOL SubclassWindow(HWND list);

    // Where the number of items goes whenever the manager renumbers (the
    // channel panel's records tab count).
    void SetCountListener(std::function<void(int count)> listener) { SetCountCallback(std::move(listener)); }

    // The record of an item; null for none or a bad index.
    CRecord* GetRecord(int index) const;
    CRecord* GetSelectedRecord() const;

    ItemLook DescribeItem(const CRecord& record) const;
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    // Fills the popup with the record's commands; null when it offers none.
    HMENU PrepareMenu(const CRecord& record);
    HMENU GetPopupMenu() const { return m_popup; }

    MESSAGE_MAP_BEGIN(CRecordListBox)
        ON_MESSAGE(OCM_DRAWITEM, OnDrawItem)
        ON_MESSAGE(WM_RBUTTONDOWN, OnRightButtonDown)
        ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
        ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
        ON_MESSAGE(WM_TIMER, OnTimer)
        ON_MESSAGE(WM_DESTROY, OnDestroy)
        DEFAULT_REFLECTION_HANDLER()
    MESSAGE_MAP_END()

private:
    LRESULT OnDrawItem(WindowMessage& msg);
    LRESULT OnRightButtonDown(WindowMessage& msg);
    LRESULT OnKeyDown(WindowMessage& msg);
    LRESULT OnGetDlgCode(WindowMessage& msg);
    LRESULT OnTimer(WindowMessage& msg);
    LRESULT OnDestroy(WindowMessage& msg);

    CMenuResource m_menu;
    HMENU m_popup = nullptr;  // its first popup
    ListRowSkin m_look;
    const CImage* m_tvIcon = nullptr;
    const CImage* m_radioIcon = nullptr;
    const CImage* m_scheduleIcon = nullptr;
    const CImage* m_discIcon = nullptr;
    const CImage* m_recordingIcon = nullptr;
};
