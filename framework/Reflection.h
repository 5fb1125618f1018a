// Message reflection: a parent hands the notifications of its controls
// (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*, ...) back
// to the control that sent them, as OCM__BASE + the message, so that a
// control class can draw and react by itself. The parent's map says
// REFLECT_NOTIFICATIONS(); the control's map handles OCM_DRAWITEM and the
// like, and DEFAULT_REFLECTION_HANDLER() gives the rest the default handling.
#pragma once

#include "framework/MessageMap.h"

#include <olectl.h>  // OCM_ message numbers

// The control a notification comes from, or null when it names none (menus,
// accelerators, messages of other kinds).
HWND ReflectionTarget(const WindowMessage& msg);

// Parent side: sends the OCM_ message to the control; true (and its result)
// when the control's map handled it. A control that is no window of this
// framework, or whose map leaves the message alone, makes it false, so the
// parent's own default handling still runs.
bool ReflectNotification(const WindowMessage& msg, LRESULT& result);

// Control side: an OCM_ message gets the default handling of the original.
bool DefaultReflectionHandler(const WindowMessage& msg, LRESULT& result);

bool IsReflectedMessage(UINT msg);

// Called by the window procedures when a map consumed a reflected message.
void NoteReflectedMessageHandled();
