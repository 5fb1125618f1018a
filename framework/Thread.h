#pragma once
// CThreadT<1>: the holder of a started worker thread. It closes the thread's
// handle when it goes, which leaves the thread running: the workers of all
// four programs are detached and nobody waits for them.
//
//   StartThread(&Worker);   // the holder is a temporary: detached at once

#include <windows.h>

#include <process.h>

#include <utility>

template <int Detach>
class CThreadT;

template <>
class CThreadT<1> {
public:
    CThreadT() = default;
    CThreadT(HANDLE handle, unsigned id) : m_handle(handle), m_id(id) {}
    CThreadT(CThreadT&& other) noexcept
        : m_handle(std::exchange(other.m_handle, nullptr)), m_id(std::exchange(other.m_id, 0u))
    {
    }
    CThreadT& operator=(CThreadT&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_handle = std::exchange(other.m_handle, nullptr);
            m_id = std::exchange(other.m_id, 0u);
        }
        return *this;
    }
    CThreadT(const CThreadT&) = delete;
    CThreadT& operator=(const CThreadT&) = delete;
    virtual ~CThreadT() { Close(); }

    // Null when no thread was started.
    virtual HANDLE GetHandle() const { return m_handle; }
    unsigned GetId() const { return m_id; }
    bool IsStarted() const { return m_handle != nullptr; }

private:
    void Close()
    {
        if (m_handle != nullptr)
            ::CloseHandle(m_handle);
        m_handle = nullptr;
    }

    HANDLE m_handle = nullptr;
    unsigned m_id = 0;
};

using ThreadProc = unsigned(__stdcall*)(void*);

// Starts proc(argument) with _beginthreadex; an empty holder on failure.
inline CThreadT<1> StartThread(ThreadProc proc, void* argument = nullptr, unsigned flags = 0,
                               SECURITY_ATTRIBUTES* security = nullptr, unsigned stackSize = 0)
{
    unsigned id = 0;
    const uintptr_t handle = ::_beginthreadex(security, stackSize, proc, argument, flags, &id);
    if (handle == 0)
        return CThreadT<1>();
    return CThreadT<1>(reinterpret_cast<HANDLE>(handle), id);
}
