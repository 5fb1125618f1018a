#pragma once
// In-place activation for controls that want an IOleInPlaceSiteEx: Wine's
// Media Player control refuses a site with the plain IOleInPlaceSite, which
// is all the host window offers, and stays without a window. The site given
// to such a control forwards everything to the host's own site.

#include "framework/AxHost.h"

// When the host's control has no window yet, gives it a forwarding client
// site with IOleInPlaceSiteEx and activates it in place again. S_OK when the
// control has a window afterwards.
HRESULT ActivateInPlaceEx(const CAxWindow& host);
