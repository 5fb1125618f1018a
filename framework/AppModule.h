// The application module: the program's instance, the resources its dialogs
// come from, and the message loop each user-interface thread registers.
//
//   AppModule().Init(instance);      // program start, before any window
//   CMessageLoop loop;
//   AppModule().AddMessageLoop(&loop);
//   ... create the main window ...
//   int code = loop.Run();
//   AppModule().RemoveMessageLoop();
//   AppModule().Term();              // program end, after the last window
#pragma once

#include <windows.h>

#include <map>

class CMessageLoop;

class CAppModule {
public:
    CAppModule() = default;
    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;

    // resources: where dialog templates and other resources are loaded from
    // (null: the program itself).
    bool Init(HINSTANCE instance, HINSTANCE resources = nullptr);
    // Forgets the loops and unregisters the framework's window classes.
    void Term();
    bool IsInitialized() const { return m_instance != nullptr; }

    HINSTANCE GetModuleInstance() const;
    HINSTANCE GetResourceInstance() const;

    // One loop per thread; the calling thread's is added and removed.
    bool AddMessageLoop(CMessageLoop* loop);
    bool RemoveMessageLoop();
    // The loop of a thread (the calling one by default), or null.
    CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) const;

private:
    HINSTANCE m_instance = nullptr;
    HINSTANCE m_resources = nullptr;
    mutable SRWLOCK m_lock = SRWLOCK_INIT;
    std::map<DWORD, CMessageLoop*> m_loops;
};

// The process's one module.
CAppModule& AppModule();

// The module's instances; before Init, the program's own module.
HINSTANCE FrameworkInstance();
HINSTANCE FrameworkResourceInstance();
