#pragma once
// CEFBrowser: the window that hosts the web browser control of the "e"
// back-end. At creation it creates the control from its window text, sets
// the control's properties and makes a CWebCtrlInterFace the control's
// client site.

#include "framework/AxControl.h"
#include "framework/ComPtr.h"
#include "player/playback/WebCtrlInterFace.h"

#include <exdisp.h>

#include <string>

class CEFBrowser : public CWTLAxControl<CEFBrowser, IWebBrowser2>,
                   public CWTLDispEventHelper<CEFBrowser, IWebBrowser2> {
public:
    CEFBrowser();
    ~CEFBrowser() override;

    // Writes html into the current document and closes it; does nothing
    // when there is no HTML document to write to.
    void WriteHTML(const std::wstring& html);

    // The client site given to the control (null only if it could not be made).
    CWebCtrlInterFace* GetSite() const { return m_site; }

    MESSAGE_MAP_BEGIN(CEFBrowser)
        ON_MESSAGE(WM_CREATE, OnCreate)
        CHAIN_MESSAGE_MAP(CWTLAxControl)
    MESSAGE_MAP_END()

private:
    LRESULT OnCreate(WindowMessage& msg);
    void ReplaceClientSite();

    CInterfacePtr<CWebCtrlInterFace> m_site;
};
