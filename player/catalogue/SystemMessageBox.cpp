#include "player/catalogue/SystemMessageBox.h"

#include <atomic>

namespace {

std::atomic<SystemMessageBoxFunc> g_messageBox{&MessageBoxW};

} // namespace

int ShowSystemMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    return g_messageBox.load()(owner, text, caption, type);
}

SystemMessageBoxFunc SetSystemMessageBoxFunc(SystemMessageBoxFunc func)
{
    return g_messageBox.exchange(func ? func : &MessageBoxW);
}
