#pragma once
// Stand-in bases for the test doubles: every method of these interfaces
// answers E_NOTIMPL (a void method does nothing), so a double overrides only
// what the code under test calls. IUnknown is left to the double.

#include "player/playback/WmpInterfaces.h"

#include <exdisp.h>
#include <mshtml.h>
#include <ocidl.h>
#include <oleidl.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"

#define STUB_DISPATCH_METHODS                                                                         \
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return E_NOTIMPL; }                         \
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override { return E_NOTIMPL; } \
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override \
    {                                                                                                 \
        return E_NOTIMPL;                                                                             \
    }                                                                                                 \
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result, \
                        EXCEPINFO* exception, UINT* argumentError) override                           \
    {                                                                                                 \
        return E_NOTIMPL;                                                                             \
    }

class StubWebBrowser2 : public IWebBrowser2 {
public:
    STUB_DISPATCH_METHODS
    STDMETHODIMP GoBack() override { return E_NOTIMPL; }
    STDMETHODIMP GoForward() override { return E_NOTIMPL; }
    STDMETHODIMP GoHome() override { return E_NOTIMPL; }
    STDMETHODIMP GoSearch() override { return E_NOTIMPL; }
    STDMETHODIMP Navigate(BSTR URL, VARIANT *Flags, VARIANT *TargetFrameName, VARIANT *PostData, VARIANT *Headers) override { return E_NOTIMPL; }
    STDMETHODIMP Refresh() override { return E_NOTIMPL; }
    STDMETHODIMP Refresh2(VARIANT *Level) override { return E_NOTIMPL; }
    STDMETHODIMP Stop() override { return E_NOTIMPL; }
    STDMETHODIMP get_Application(IDispatch **ppDisp) override { return E_NOTIMPL; }
    STDMETHODIMP get_Parent(IDispatch **ppDisp) override { return E_NOTIMPL; }
    STDMETHODIMP get_Container(IDispatch **ppDisp) override { return E_NOTIMPL; }
    STDMETHODIMP get_Document(IDispatch **ppDisp) override { return E_NOTIMPL; }
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL *pBool) override { return E_NOTIMPL; }
    STDMETHODIMP get_Type(BSTR *Type) override { return E_NOTIMPL; }
    STDMETHODIMP get_Left(LONG *pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Left(LONG Left) override { return E_NOTIMPL; }
    STDMETHODIMP get_Top(LONG *pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Top(LONG Top) override { return E_NOTIMPL; }
    STDMETHODIMP get_Width(LONG *pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Width(LONG Width) override { return E_NOTIMPL; }
    STDMETHODIMP get_Height(LONG *pl) override { return E_NOTIMPL; }
    STDMETHODIMP put_Height(LONG Height) override { return E_NOTIMPL; }
    STDMETHODIMP get_LocationName(BSTR *LocationName) override { return E_NOTIMPL; }
    STDMETHODIMP get_LocationURL(BSTR *LocationURL) override { return E_NOTIMPL; }
    STDMETHODIMP get_Busy(VARIANT_BOOL *pBool) override { return E_NOTIMPL; }
    STDMETHODIMP Quit() override { return E_NOTIMPL; }
    STDMETHODIMP ClientToWindow(int *pcx, int *pcy) override { return E_NOTIMPL; }
    STDMETHODIMP PutProperty(BSTR Property, VARIANT vtValue) override { return E_NOTIMPL; }
    STDMETHODIMP GetProperty(BSTR Property, VARIANT *pvtValue) override { return E_NOTIMPL; }
    STDMETHODIMP get_Name(BSTR *Name) override { return E_NOTIMPL; }
    STDMETHODIMP get_HWND(SHANDLE_PTR *pHWND) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullName(BSTR *FullName) override { return E_NOTIMPL; }
    STDMETHODIMP get_Path(BSTR *Path) override { return E_NOTIMPL; }
    STDMETHODIMP get_Visible(VARIANT_BOOL *pBool) override { return E_NOTIMPL; }
    STDMETHODIMP put_Visible(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusBar(VARIANT_BOOL *pBool) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusBar(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusText(BSTR *StatusText) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusText(BSTR StatusText) override { return E_NOTIMPL; }
    STDMETHODIMP get_ToolBar(int *Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_ToolBar(int Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_MenuBar(VARIANT_BOOL *Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_MenuBar(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullScreen(VARIANT_BOOL *pbFullScreen) override { return E_NOTIMPL; }
    STDMETHODIMP put_FullScreen(VARIANT_BOOL bFullScreen) override { return E_NOTIMPL; }
    STDMETHODIMP Navigate2(VARIANT *URL, VARIANT *Flags, VARIANT *TargetFrameName, VARIANT *PostData, VARIANT *Headers) override { return E_NOTIMPL; }
    STDMETHODIMP QueryStatusWB(OLECMDID cmdID, OLECMDF *pcmdf) override { return E_NOTIMPL; }
    STDMETHODIMP ExecWB(OLECMDID cmdID, OLECMDEXECOPT cmdexecopt, VARIANT *pvaIn, VARIANT *pvaOut) override { return E_NOTIMPL; }
    STDMETHODIMP ShowBrowserBar(VARIANT *pvaClsid, VARIANT *pvarShow, VARIANT *pvarSize) override { return E_NOTIMPL; }
    STDMETHODIMP get_ReadyState(READYSTATE *plReadyState) override { return E_NOTIMPL; }
    STDMETHODIMP get_Offline(VARIANT_BOOL *pbOffline) override { return E_NOTIMPL; }
    STDMETHODIMP put_Offline(VARIANT_BOOL bOffline) override { return E_NOTIMPL; }
    STDMETHODIMP get_Silent(VARIANT_BOOL *pbSilent) override { return E_NOTIMPL; }
    STDMETHODIMP put_Silent(VARIANT_BOOL bSilent) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL *pbRegister) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL bRegister) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL *pbRegister) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL bRegister) override { return E_NOTIMPL; }
    STDMETHODIMP get_TheaterMode(VARIANT_BOOL *pbRegister) override { return E_NOTIMPL; }
    STDMETHODIMP put_TheaterMode(VARIANT_BOOL bRegister) override { return E_NOTIMPL; }
    STDMETHODIMP get_AddressBar(VARIANT_BOOL *Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_AddressBar(VARIANT_BOOL Value) override { return E_NOTIMPL; }
    STDMETHODIMP get_Resizable(VARIANT_BOOL *Value) override { return E_NOTIMPL; }
    STDMETHODIMP put_Resizable(VARIANT_BOOL Value) override { return E_NOTIMPL; }
};

class StubHTMLDocument2 : public IHTMLDocument2 {
public:
    STUB_DISPATCH_METHODS
    STDMETHODIMP get_Script(IDispatch **p) override { return E_NOTIMPL; }
    STDMETHODIMP get_all(IHTMLElementCollection **p) override { return E_NOTIMPL; }
    STDMETHODIMP get_body(IHTMLElement **p) override { return E_NOTIMPL; }
    STDMETHODIMP get_activeElement(IHTMLElement **p) override { return E_NOTIMPL; }
    STDMETHODIMP get_images(IHTMLElementCollection **p) override { return E_NOTIMPL; }
    STDMETHODIMP get_applets(IHTMLElementCollection **p) override { return E_NOTIMPL; }
    STDMETHODIMP get_links(IHTMLElementCollection **p) override { return E_NOTIMPL; }
    STDMETHODIMP get_forms(IHTMLElementCollection **p) override { return E_NOTIMPL; }
    STDMETHODIMP get_anchors(IHTMLElementCollection **p) override { return E_NOTIMPL; }
    STDMETHODIMP put_title(BSTR v) override { return E_NOTIMPL; }
    STDMETHODIMP get_title(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP get_scripts(IHTMLElementCollection **p) override { return E_NOTIMPL; }
    STDMETHODIMP put_designMode(BSTR v) override { return E_NOTIMPL; }
    STDMETHODIMP get_designMode(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP get_selection(IHTMLSelectionObject **p) override { return E_NOTIMPL; }
    STDMETHODIMP get_readyState(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP get_frames(IHTMLFramesCollection2 **p) override { return E_NOTIMPL; }
    STDMETHODIMP get_embeds(IHTMLElementCollection **p) override { return E_NOTIMPL; }
    STDMETHODIMP get_plugins(IHTMLElementCollection **p) override { return E_NOTIMPL; }
    STDMETHODIMP put_alinkColor(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_alinkColor(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_bgColor(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_bgColor(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_fgColor(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_fgColor(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_linkColor(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_linkColor(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_vlinkColor(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_vlinkColor(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP get_referrer(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP get_location(IHTMLLocation **p) override { return E_NOTIMPL; }
    STDMETHODIMP get_lastModified(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_URL(BSTR v) override { return E_NOTIMPL; }
    STDMETHODIMP get_URL(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_domain(BSTR v) override { return E_NOTIMPL; }
    STDMETHODIMP get_domain(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_cookie(BSTR v) override { return E_NOTIMPL; }
    STDMETHODIMP get_cookie(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_expando(VARIANT_BOOL v) override { return E_NOTIMPL; }
    STDMETHODIMP get_expando(VARIANT_BOOL *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_charset(BSTR v) override { return E_NOTIMPL; }
    STDMETHODIMP get_charset(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_defaultCharset(BSTR v) override { return E_NOTIMPL; }
    STDMETHODIMP get_defaultCharset(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP get_mimeType(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP get_fileSize(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP get_fileCreatedDate(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP get_fileModifiedDate(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP get_fileUpdatedDate(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP get_security(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP get_protocol(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP get_nameProp(BSTR *p) override { return E_NOTIMPL; }
    STDMETHODIMP write(SAFEARRAY *psarray) override { return E_NOTIMPL; }
    STDMETHODIMP writeln(SAFEARRAY *psarray) override { return E_NOTIMPL; }
    STDMETHODIMP open(BSTR url, VARIANT name, VARIANT features, VARIANT replace, IDispatch **pomWindowResult) override { return E_NOTIMPL; }
    STDMETHODIMP close() override { return E_NOTIMPL; }
    STDMETHODIMP clear() override { return E_NOTIMPL; }
    STDMETHODIMP queryCommandSupported(BSTR cmdID, VARIANT_BOOL *pfRet) override { return E_NOTIMPL; }
    STDMETHODIMP queryCommandEnabled(BSTR cmdID, VARIANT_BOOL *pfRet) override { return E_NOTIMPL; }
    STDMETHODIMP queryCommandState(BSTR cmdID, VARIANT_BOOL *pfRet) override { return E_NOTIMPL; }
    STDMETHODIMP queryCommandIndeterm(BSTR cmdID, VARIANT_BOOL *pfRet) override { return E_NOTIMPL; }
    STDMETHODIMP queryCommandText(BSTR cmdID, BSTR *pcmdText) override { return E_NOTIMPL; }
    STDMETHODIMP queryCommandValue(BSTR cmdID, VARIANT *pcmdValue) override { return E_NOTIMPL; }
    STDMETHODIMP execCommand(BSTR cmdID, VARIANT_BOOL showUI, VARIANT value, VARIANT_BOOL *pfRet) override { return E_NOTIMPL; }
    STDMETHODIMP execCommandShowHelp(BSTR cmdID, VARIANT_BOOL *pfRet) override { return E_NOTIMPL; }
    STDMETHODIMP createElement(BSTR eTag, IHTMLElement **newElem) override { return E_NOTIMPL; }
    STDMETHODIMP put_onhelp(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onhelp(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onclick(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onclick(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_ondblclick(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_ondblclick(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onkeyup(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onkeyup(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onkeydown(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onkeydown(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onkeypress(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onkeypress(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmouseup(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmouseup(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmousedown(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmousedown(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmousemove(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmousemove(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmouseout(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmouseout(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onmouseover(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onmouseover(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onreadystatechange(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onreadystatechange(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onafterupdate(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onafterupdate(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onrowexit(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onrowexit(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onrowenter(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onrowenter(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_ondragstart(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_ondragstart(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onselectstart(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onselectstart(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP elementFromPoint(LONG x, LONG y, IHTMLElement **elementHit) override { return E_NOTIMPL; }
    STDMETHODIMP get_parentWindow(IHTMLWindow2 **p) override { return E_NOTIMPL; }
    STDMETHODIMP get_styleSheets(IHTMLStyleSheetsCollection **p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onbeforeupdate(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onbeforeupdate(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP put_onerrorupdate(VARIANT v) override { return E_NOTIMPL; }
    STDMETHODIMP get_onerrorupdate(VARIANT *p) override { return E_NOTIMPL; }
    STDMETHODIMP toString(BSTR *String) override { return E_NOTIMPL; }
    STDMETHODIMP createStyleSheet(BSTR bstrHref, LONG lIndex, IHTMLStyleSheet **ppnewStyleSheet) override { return E_NOTIMPL; }
};

class StubWMPPlayer2 : public IWMPPlayer2 {
public:
    STUB_DISPATCH_METHODS
    STDMETHODIMP close() override { return E_NOTIMPL; }
    STDMETHODIMP get_URL(BSTR *pbstrURL) override { return E_NOTIMPL; }
    STDMETHODIMP put_URL(BSTR pbstrURL) override { return E_NOTIMPL; }
    STDMETHODIMP get_openState(WMPOpenState *pwmpos) override { return E_NOTIMPL; }
    STDMETHODIMP get_playState(WMPPlayState *pwmpps) override { return E_NOTIMPL; }
    STDMETHODIMP get_controls(IWMPControls **ppControl) override { return E_NOTIMPL; }
    STDMETHODIMP get_settings(IWMPSettings **ppSettings) override { return E_NOTIMPL; }
    STDMETHODIMP get_currentMedia(IWMPMedia **ppMedia) override { return E_NOTIMPL; }
    STDMETHODIMP put_currentMedia(IWMPMedia *ppMedia) override { return E_NOTIMPL; }
    STDMETHODIMP get_mediaCollection(IWMPMediaCollection **ppMediaCollection) override { return E_NOTIMPL; }
    STDMETHODIMP get_playlistCollection(IWMPPlaylistCollection **ppPlaylistCollection) override { return E_NOTIMPL; }
    STDMETHODIMP get_versionInfo(BSTR *pbstrVersionInfo) override { return E_NOTIMPL; }
    STDMETHODIMP launchURL(BSTR bstrURL) override { return E_NOTIMPL; }
    STDMETHODIMP get_network(IWMPNetwork **ppQNI) override { return E_NOTIMPL; }
    STDMETHODIMP get_currentPlaylist(IWMPPlaylist **ppPL) override { return E_NOTIMPL; }
    STDMETHODIMP put_currentPlaylist(IWMPPlaylist *ppPL) override { return E_NOTIMPL; }
    STDMETHODIMP get_cdromCollection(IWMPCdromCollection **ppCdromCollection) override { return E_NOTIMPL; }
    STDMETHODIMP get_closedCaption(IWMPClosedCaption **ppClosedCaption) override { return E_NOTIMPL; }
    STDMETHODIMP get_isOnline(VARIANT_BOOL *pfOnline) override { return E_NOTIMPL; }
    STDMETHODIMP get_Error(IWMPError **ppError) override { return E_NOTIMPL; }
    STDMETHODIMP get_status(BSTR *pbstrStatus) override { return E_NOTIMPL; }
    STDMETHODIMP get_enabled(VARIANT_BOOL *value) override { return E_NOTIMPL; }
    STDMETHODIMP put_enabled(VARIANT_BOOL value) override { return E_NOTIMPL; }
    STDMETHODIMP get_fullScreen(VARIANT_BOOL *value) override { return E_NOTIMPL; }
    STDMETHODIMP put_fullScreen(VARIANT_BOOL value) override { return E_NOTIMPL; }
    STDMETHODIMP get_enableContextMenu(VARIANT_BOOL *value) override { return E_NOTIMPL; }
    STDMETHODIMP put_enableContextMenu(VARIANT_BOOL value) override { return E_NOTIMPL; }
    STDMETHODIMP put_uiMode(BSTR mode) override { return E_NOTIMPL; }
    STDMETHODIMP get_uiMode(BSTR *mode) override { return E_NOTIMPL; }
    STDMETHODIMP get_stretchToFit(VARIANT_BOOL *value) override { return E_NOTIMPL; }
    STDMETHODIMP put_stretchToFit(VARIANT_BOOL value) override { return E_NOTIMPL; }
    STDMETHODIMP get_windowlessVideo(VARIANT_BOOL *value) override { return E_NOTIMPL; }
    STDMETHODIMP put_windowlessVideo(VARIANT_BOOL value) override { return E_NOTIMPL; }
};

class StubWMPControls : public IWMPControls {
public:
    STUB_DISPATCH_METHODS
    STDMETHODIMP get_isAvailable(BSTR bstrItem, VARIANT_BOOL *pIsAvailable) override { return E_NOTIMPL; }
    STDMETHODIMP play() override { return E_NOTIMPL; }
    STDMETHODIMP stop() override { return E_NOTIMPL; }
    STDMETHODIMP pause() override { return E_NOTIMPL; }
    STDMETHODIMP fastForward() override { return E_NOTIMPL; }
    STDMETHODIMP fastReverse() override { return E_NOTIMPL; }
    STDMETHODIMP get_currentPosition(double *pdCurrentPosition) override { return E_NOTIMPL; }
    STDMETHODIMP put_currentPosition(double pdCurrentPosition) override { return E_NOTIMPL; }
    STDMETHODIMP get_currentPositionString(BSTR *pbstrCurrentPosition) override { return E_NOTIMPL; }
    STDMETHODIMP next() override { return E_NOTIMPL; }
    STDMETHODIMP previous() override { return E_NOTIMPL; }
    STDMETHODIMP currentItem(IWMPMedia **ppIWMPMedia) override { return E_NOTIMPL; }
    STDMETHODIMP put_currentItem(IWMPMedia *ppIWMPMedia) override { return E_NOTIMPL; }
    STDMETHODIMP get_currentMarker(LONG *plMarker) override { return E_NOTIMPL; }
    STDMETHODIMP put_currentMarker(LONG plMarker) override { return E_NOTIMPL; }
    STDMETHODIMP playItem(IWMPMedia *pIWMPMedia) override { return E_NOTIMPL; }
};

class StubWMPSettings : public IWMPSettings {
public:
    STUB_DISPATCH_METHODS
    STDMETHODIMP get_isAvailable(BSTR bstrItem, VARIANT_BOOL *pIsAvailable) override { return E_NOTIMPL; }
    STDMETHODIMP get_autoStart(VARIANT_BOOL *pfAutoStart) override { return E_NOTIMPL; }
    STDMETHODIMP put_autoStart(VARIANT_BOOL pfAutoStart) override { return E_NOTIMPL; }
    STDMETHODIMP get_baseURL(BSTR *pbstrBaseURL) override { return E_NOTIMPL; }
    STDMETHODIMP put_baseURL(BSTR pbstrBaseURL) override { return E_NOTIMPL; }
    STDMETHODIMP get_defaultFrame(BSTR *pbstrDefaultFrame) override { return E_NOTIMPL; }
    STDMETHODIMP put_defaultFrame(BSTR pbstrDefaultFrame) override { return E_NOTIMPL; }
    STDMETHODIMP get_invokeURLs(VARIANT_BOOL *pfInvokeURLs) override { return E_NOTIMPL; }
    STDMETHODIMP put_invokeURLs(VARIANT_BOOL pfInvokeURLs) override { return E_NOTIMPL; }
    STDMETHODIMP get_mute(VARIANT_BOOL *pfMute) override { return E_NOTIMPL; }
    STDMETHODIMP put_mute(VARIANT_BOOL pfMute) override { return E_NOTIMPL; }
    STDMETHODIMP get_playCount(LONG *plCount) override { return E_NOTIMPL; }
    STDMETHODIMP put_playCount(LONG plCount) override { return E_NOTIMPL; }
    STDMETHODIMP get_rate(double *pdRate) override { return E_NOTIMPL; }
    STDMETHODIMP put_rate(double pdRate) override { return E_NOTIMPL; }
    STDMETHODIMP get_balance(LONG *plBalance) override { return E_NOTIMPL; }
    STDMETHODIMP put_balance(LONG plBalance) override { return E_NOTIMPL; }
    STDMETHODIMP get_volume(LONG *plVolume) override { return E_NOTIMPL; }
    STDMETHODIMP put_volume(LONG plVolume) override { return E_NOTIMPL; }
    STDMETHODIMP getMode(BSTR bstrMode, VARIANT_BOOL *pvarfMode) override { return E_NOTIMPL; }
    STDMETHODIMP setMode(BSTR bstrMode, VARIANT_BOOL varfMode) override { return E_NOTIMPL; }
    STDMETHODIMP get_enableErrorDialogs(VARIANT_BOOL *pfEnableErrorDialogs) override { return E_NOTIMPL; }
    STDMETHODIMP put_enableErrorDialogs(VARIANT_BOOL pfEnableErrorDialogs) override { return E_NOTIMPL; }
};

class StubWMPMedia2 : public IWMPMedia2 {
public:
    STUB_DISPATCH_METHODS
    STDMETHODIMP get_isIdentical(IWMPMedia *pIWMPMedia, VARIANT_BOOL *pvbool) override { return E_NOTIMPL; }
    STDMETHODIMP get_sourceURL(BSTR *pbstrSourceURL) override { return E_NOTIMPL; }
    STDMETHODIMP get_name(BSTR *pbstrName) override { return E_NOTIMPL; }
    STDMETHODIMP put_name(BSTR pbstrName) override { return E_NOTIMPL; }
    STDMETHODIMP get_imageSourceWidth(LONG *pWidth) override { return E_NOTIMPL; }
    STDMETHODIMP get_imageSourceHeight(LONG *pHeight) override { return E_NOTIMPL; }
    STDMETHODIMP get_markerCount(LONG *pMarkerCount) override { return E_NOTIMPL; }
    STDMETHODIMP getMarkerTime(LONG MarkerNum, double *pMarkerTime) override { return E_NOTIMPL; }
    STDMETHODIMP getMarkerName(LONG MarkerNum, BSTR *pbstrMarkerName) override { return E_NOTIMPL; }
    STDMETHODIMP get_duration(double *pDuration) override { return E_NOTIMPL; }
    STDMETHODIMP get_durationString(BSTR *pbstrDuration) override { return E_NOTIMPL; }
    STDMETHODIMP get_attributeCount(LONG *plCount) override { return E_NOTIMPL; }
    STDMETHODIMP getAttributeName(LONG lIndex, BSTR *pbstrItemName) override { return E_NOTIMPL; }
    STDMETHODIMP getItemInfo(BSTR bstrItemName, BSTR *pbstrVal) override { return E_NOTIMPL; }
    STDMETHODIMP setItemInfo(BSTR bstrItemName, BSTR bstrVal) override { return E_NOTIMPL; }
    STDMETHODIMP getItemInfoByAtom(LONG lAtom, BSTR *pbstrVal) override { return E_NOTIMPL; }
    STDMETHODIMP isMemberOf(IWMPPlaylist *pPlaylist, VARIANT_BOOL *pvarfIsMemberOf) override { return E_NOTIMPL; }
    STDMETHODIMP isReadOnlyItem(BSTR bstrItemName, VARIANT_BOOL *pvarfIsReadOnly) override { return E_NOTIMPL; }
    STDMETHODIMP get_error(IWMPErrorItem **out) override { return E_NOTIMPL; }
};

class StubConnectionPointContainer : public IConnectionPointContainer {
public:
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints **ppEnum) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint **ppCP) override { return E_NOTIMPL; }
};

class StubConnectionPoint : public IConnectionPoint {
public:
    STDMETHODIMP GetConnectionInterface(IID *pIID) override { return E_NOTIMPL; }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer **ppCPC) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IUnknown *pUnkSink, DWORD *pdwCookie) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD dwCookie) override { return E_NOTIMPL; }
    STDMETHODIMP EnumConnections(IEnumConnections **ppEnum) override { return E_NOTIMPL; }
};

class StubWMPErrorItem : public IWMPErrorItem {
public:
    STUB_DISPATCH_METHODS
    STDMETHODIMP get_errorCode(LONG *phr) override { return E_NOTIMPL; }
    STDMETHODIMP get_errorDescription(BSTR *pbstrDescription) override { return E_NOTIMPL; }
    STDMETHODIMP get_errorContext(VARIANT *pvarContext) override { return E_NOTIMPL; }
    STDMETHODIMP get_remedy(LONG *plRemedy) override { return E_NOTIMPL; }
    STDMETHODIMP get_customUrl(BSTR *pbstrCustomUrl) override { return E_NOTIMPL; }
};

class StubOleObject : public IOleObject {
public:
    STDMETHODIMP SetClientSite(IOleClientSite *pClientSite) override { return E_NOTIMPL; }
    STDMETHODIMP GetClientSite(IOleClientSite **ppClientSite) override { return E_NOTIMPL; }
    STDMETHODIMP SetHostNames(LPCOLESTR szContainerApp, LPCOLESTR szContainerObj) override { return E_NOTIMPL; }
    STDMETHODIMP Close(DWORD dwSaveOption) override { return E_NOTIMPL; }
    STDMETHODIMP SetMoniker(DWORD dwWhichMoniker, IMoniker *pmk) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker **ppmk) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject *pDataObject, WINBOOL fCreation, DWORD dwReserved) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD dwReserved, IDataObject **ppDataObject) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG iVerb, LPMSG lpmsg, IOleClientSite *pActiveSite, LONG lindex, HWND hwndParent, LPCRECT lprcPosRect) override { return E_NOTIMPL; }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB **ppEnumOleVerb) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return E_NOTIMPL; }
    STDMETHODIMP IsUpToDate() override { return E_NOTIMPL; }
    STDMETHODIMP GetUserClassID(CLSID *pClsid) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD dwFormOfType, LPOLESTR *pszUserType) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD dwDrawAspect, SIZEL *psizel) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD dwDrawAspect, SIZEL *psizel) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink *pAdvSink, DWORD *pdwConnection) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD dwConnection) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA **ppenumAdvise) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD dwAspect, DWORD *pdwStatus) override { return E_NOTIMPL; }
    STDMETHODIMP SetColorScheme(LOGPALETTE *pLogpal) override { return E_NOTIMPL; }
};

#undef STUB_DISPATCH_METHODS

#pragma GCC diagnostic pop
