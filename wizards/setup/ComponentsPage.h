#pragma once
// The components list: a tree of check-box items, one per listed component,
// with the space the checked ones need and the description of the item
// under the pointer or selected. The program must not run when the user
// goes on.

#include "wizards/setup/SetupPage.h"
#include "wizards/setup/resources/Resource.h"

#include <commctrl.h>

class CComponent;

class CComponentsPage : public CSetupPage {
public:
    // Pictures of the image list, in this order.
    enum CheckImage { ImageUnchecked = 0, ImageChecked = 1, ImageUncheckedDisabled = 2, ImageCheckedDisabled = 3 };

    CComponentsPage();
    ~CComponentsPage() override;

    MESSAGE_MAP_BEGIN(CComponentsPage)
        ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
        ON_MESSAGE(WM_DESTROY, OnDestroy)
        ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
        ON_NOTIFY(IDC_COMPONENTS_TREE, NM_CLICK, OnTreeClick)
        ON_NOTIFY(IDC_COMPONENTS_TREE, TVN_KEYDOWN, OnTreeKeyDown)
        ON_NOTIFY(IDC_COMPONENTS_TREE, TVN_GETINFOTIPW, OnTreeInfoTip)
        ON_NOTIFY(IDC_COMPONENTS_TREE, TVN_SELCHANGEDW, OnTreeSelChanged)
        CHAIN_MESSAGE_MAP(CSetupPage)
    MESSAGE_MAP_END()

    bool OnKillActive() override;

    // Flips a component's check (required ones stay) and rewrites the
    // space line.
    void ToggleItem(HTREEITEM item);

private:
    LRESULT OnInitDialog(WindowMessage& msg);
    LRESULT OnDestroy(WindowMessage& msg);
    LRESULT OnMouseMove(WindowMessage& msg);
    LRESULT OnTreeClick(WindowMessage& msg);
    LRESULT OnTreeKeyDown(WindowMessage& msg);
    LRESULT OnTreeInfoTip(WindowMessage& msg);
    LRESULT OnTreeSelChanged(WindowMessage& msg);

    void BuildImageList();
    CComponent* GetComponent(HTREEITEM item) const;
    // The item under the cursor, found by hit-testing.
    HTREEITEM HitTestCursor(UINT flags) const;
    void ShowDescription(HTREEITEM item);
    void UpdateSpaceLine();

    HWND m_tree = nullptr;
    HIMAGELIST m_images = nullptr;
};
