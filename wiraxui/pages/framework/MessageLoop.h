// The message loop a wizard page runs on the host's thread while it is shown, with the filters
// that see every message first (dialog keyboard handling) and the idle handlers.
#pragma once

#include <windows.h>

#include <vector>

namespace wiraxui {

class CMessageFilter {
public:
    // True when the message was consumed and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* message) = 0;

protected:
    ~CMessageFilter() = default;
};

class CIdleHandler {
public:
    // True to be called again before the next message arrives.
    virtual BOOL OnIdle() = 0;

protected:
    ~CIdleHandler() = default;
};

class CMessageLoop {
public:
    void AddMessageFilter(CMessageFilter* filter);
    void RemoveMessageFilter(CMessageFilter* filter);
    void AddIdleHandler(CIdleHandler* handler);
    void RemoveIdleHandler(CIdleHandler* handler);

    // Runs until WM_QUIT and answers its exit code.
    int Run();

    // Ends the loop with code: the quit message is posted unless the loop has already ended, so
    // that a page going away after its loop never ends the host's loop instead.
    void Quit(int code);

    // True when the loop ended on a quit message it had not asked for (the host closing): the
    // caller passes it back to the thread's queue with ForeignQuitCode() once its page is gone.
    bool EndedByForeignQuit() const { return m_foreignQuit; }
    int ForeignQuitCode() const { return m_foreignQuitCode; }

    // Messages after which the idle handlers run again (anything but mouse moves, paints and
    // the caret's timer).
    static bool RestartsIdle(const MSG& message);

private:
    bool PreTranslate(MSG* message);
    bool RunIdleHandlers();

    std::vector<CMessageFilter*> m_filters;
    std::vector<CIdleHandler*> m_idleHandlers;
    bool m_ended = false;
    bool m_quitPosted = false;
    bool m_foreignQuit = false;
    int m_foreignQuitCode = 0;
};

// Makes a loop the calling thread's loop for as long as it lives, so that the thread's pages
// can find it.
class CMessageLoopRegistration {
public:
    explicit CMessageLoopRegistration(CMessageLoop* loop);
    ~CMessageLoopRegistration();
    CMessageLoopRegistration(const CMessageLoopRegistration&) = delete;
    CMessageLoopRegistration& operator=(const CMessageLoopRegistration&) = delete;

private:
    CMessageLoop* m_previous;
};

// The loop registered for the calling thread, or null.
CMessageLoop* ThreadMessageLoop();

}  // namespace wiraxui
