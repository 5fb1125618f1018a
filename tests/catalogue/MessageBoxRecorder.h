#pragma once
// Records the system message boxes the code under test would show, instead
// of showing them, for as long as the recorder lives.

#include "player/catalogue/SystemMessageBox.h"

#include <mutex>
#include <string>
#include <vector>

class MessageBoxRecorder {
public:
    struct Box {
        HWND owner;
        std::wstring text;
        bool hasCaption;
        std::wstring caption;
        UINT type;
    };

    MessageBoxRecorder() { m_previous = SetSystemMessageBoxFunc(&Record); Boxes().clear(); }
    ~MessageBoxRecorder() { SetSystemMessageBoxFunc(m_previous); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<Box> Get() const
    {
        std::lock_guard<std::mutex> lock(Lock());
        return Boxes();
    }

    std::vector<std::wstring> Texts() const
    {
        std::vector<std::wstring> texts;
        for (const Box& box : Get())
            texts.push_back(box.text);
        return texts;
    }

private:
    static int WINAPI Record(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
    {
        std::lock_guard<std::mutex> lock(Lock());
        Boxes().push_back({owner, text ? text : L"", caption != nullptr, caption ? caption : L"", type});
        return IDOK;
    }
    static std::mutex& Lock()
    {
        static std::mutex lock;
        return lock;
    }
    static std::vector<Box>& Boxes()
    {
        static std::vector<Box> boxes;
        return boxes;
    }

    SystemMessageBoxFunc m_previous;
};
