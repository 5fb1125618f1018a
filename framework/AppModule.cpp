#include "framework/AppModule.h"

#include "framework/WindowImpl.h"

bool CAppModule::Init(HINSTANCE instance, HINSTANCE resources)
{
    if (instance == nullptr || m_instance != nullptr)
        return false;
    m_instance = instance;
    m_resources = resources != nullptr ? resources : instance;
    return true;
}

void CAppModule::Term()
{
    AcquireSRWLockExclusive(&m_lock);
    m_loops.clear();
    ReleaseSRWLockExclusive(&m_lock);
    UnregisterWindowClasses();
    m_instance = nullptr;
    m_resources = nullptr;
}

HINSTANCE CAppModule::GetModuleInstance() const
{
    return m_instance != nullptr ? m_instance : ::GetModuleHandleW(nullptr);
}

HINSTANCE CAppModule::GetResourceInstance() const
{
    return m_resources != nullptr ? m_resources : GetModuleInstance();
}

bool CAppModule::AddMessageLoop(CMessageLoop* loop)
{
    if (loop == nullptr)
        return false;
    AcquireSRWLockExclusive(&m_lock);
    const bool added = m_loops.emplace(::GetCurrentThreadId(), loop).second;
    ReleaseSRWLockExclusive(&m_lock);
    return added;
}

bool CAppModule::RemoveMessageLoop()
{
    AcquireSRWLockExclusive(&m_lock);
    const bool removed = m_loops.erase(::GetCurrentThreadId()) != 0;
    ReleaseSRWLockExclusive(&m_lock);
    return removed;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const
{
    AcquireSRWLockShared(&m_lock);
    auto found = m_loops.find(threadId);
    CMessageLoop* loop = found != m_loops.end() ? found->second : nullptr;
    ReleaseSRWLockShared(&m_lock);
    return loop;
}

CAppModule& AppModule()
{
    static CAppModule module;
    return module;
}

HINSTANCE FrameworkInstance()
{
    return AppModule().GetModuleInstance();
}

HINSTANCE FrameworkResourceInstance()
{
    return AppModule().GetResourceInstance();
}
