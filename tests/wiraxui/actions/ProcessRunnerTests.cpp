// The process runner against real child processes: the stand-in tools, made to wait.
#include "ActionsTestSupport.h"
#include "actions/ProcessRunner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using wiraxui::actions::Quoted;
using wiraxui::actions::RunProcess;

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += static_cast<char>(c);
    return out;
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring module(path);
    return module.substr(0, module.find_last_of(L'\\'));
}

class ProcessRunner : public testing::Test {
protected:
    ProcessRunner() : m_scratch(L"runner")
    {
        m_journal = m_scratch / L"tools.log";
        SetEnvironmentVariableW(L"WIRAX_TOOL_JOURNAL", m_journal.c_str());
    }
    ~ProcessRunner() override
    {
        SetEnvironmentVariableW(L"WIRAX_TOOL_JOURNAL", nullptr);
        SetEnvironmentVariableW(L"WIRAX_TOOL_DELAY_MS", nullptr);
    }

    hostkit::ScratchFolder m_scratch;
    std::wstring m_journal;
};

LRESULT CALLBACK Answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
        return 4711;
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(ProcessRunner, CommandLineReachesTheProgramAndItsExitCodeComesBack)
{
    // A blank in the program's folder must not split the program's path.
    const std::wstring folder = m_scratch / L"with blank";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((ProgramFolder() + L"\\wrxCompactMDB.exe").c_str(), (folder + L"\\wrxCompactMDB.exe").c_str(), FALSE));
    const std::wstring database = m_scratch / L"db file.mdb";
    ASSERT_TRUE(actionstest::WriteBytes(database, "data\n"));

    bool stillRunning = true;
    const DWORD exitCode = RunProcess(Quoted(folder + L"\\wrxCompactMDB.exe"), Quoted(database), SW_HIDE, &stillRunning);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(stillRunning);
    EXPECT_EQ(actionstest::ReadBytes(database), "data\ncompacted\n");
    EXPECT_EQ(actionstest::ReadBytes(m_journal),
              "wrxCompactMDB.exe|\"" + Narrow(folder) + "\\wrxCompactMDB.exe\" \"" + Narrow(database) + "\"\n");

    // The compaction stand-in answers 2 without a database to work on.
    EXPECT_EQ(RunProcess(Quoted(folder + L"\\wrxCompactMDB.exe"), L"", SW_HIDE), 2u);
    EXPECT_EQ(RunProcess(Quoted(m_scratch / L"missing.exe"), L"", SW_HIDE), wiraxui::actions::kProcessNotStarted);
}

TEST_F(ProcessRunner, TheCallingThreadAnswersMessagesWhileTheChildRuns)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Answer;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"RunnerAnswerWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"RunnerAnswerWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);

    SetEnvironmentVariableW(L"WIRAX_TOOL_DELAY_MS", L"2500");
    std::atomic<bool> childEnded{false};
    std::atomic<int> answered{0};
    std::atomic<LRESULT> answer{0};
    std::thread other([&] {
        for (int i = 0; i < 3; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            DWORD_PTR result = 0;
            if (SendMessageTimeoutW(window, WM_APP, 0, 0, SMTO_BLOCK, 1000, &result) && !childEnded) {
                answer = static_cast<LRESULT>(result);
                ++answered;
            }
        }
    });
    const auto started = std::chrono::steady_clock::now();
    const DWORD exitCode = RunProcess(Quoted(ProgramFolder() + L"\\vcredist_x86.exe"), L" /install /quiet /norestart", SW_HIDE);
    childEnded = true;
    const auto took = std::chrono::steady_clock::now() - started;
    other.join();
    DestroyWindow(window);

    EXPECT_EQ(exitCode, 0u);
    EXPECT_GE(took, std::chrono::milliseconds(2400));
    EXPECT_EQ(answered, 3) << "messages sent while the child ran were not answered";
    EXPECT_EQ(answer, 4711);
}

TEST_F(ProcessRunner, AQuitMessageEndsTheWaitAndIsKeptForTheCallersLoop)
{
    SetEnvironmentVariableW(L"WIRAX_TOOL_DELAY_MS", L"3000");
    const DWORD thread = GetCurrentThreadId();
    MSG probe;
    PeekMessageW(&probe, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists before the post
    std::thread quitter([thread] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        PostThreadMessageW(thread, WM_QUIT, 7, 0);
    });
    const auto started = std::chrono::steady_clock::now();
    bool stillRunning = false;
    const DWORD exitCode = RunProcess(Quoted(ProgramFolder() + L"\\vcredist_x86.exe"), L"", SW_HIDE, &stillRunning);
    const auto took = std::chrono::steady_clock::now() - started;
    quitter.join();

    EXPECT_EQ(exitCode, STILL_ACTIVE);
    EXPECT_TRUE(stillRunning);
    EXPECT_LT(took, std::chrono::milliseconds(2500));
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
    Sleep(3000);  // the child ends by itself before the scratch folder goes
}

// The tools run with the installer's rights and need nothing of the host: a handle the host made
// inheritable (a file, a key, an event) must not reach them.
TEST_F(ProcessRunner, TheProgramInheritsNoHandleOfTheCaller)
{
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE event = CreateEventW(&inheritable, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    const std::wstring value = std::to_wstring(reinterpret_cast<ULONG_PTR>(event));
    // The probe sets the event of that number in its own handle table: 1 when it could.
    const DWORD exitCode = RunProcess(Quoted(ProgramFolder() + L"\\wirax-probe.exe"), L"signal " + value, SW_HIDE);
    const DWORD state = WaitForSingleObject(event, 0);
    CloseHandle(event);
    EXPECT_TRUE(exitCode == 0 || exitCode == 1) << "the probe did not run: " << exitCode;
    EXPECT_EQ(state, static_cast<DWORD>(WAIT_TIMEOUT)) << "the child set the caller's event through an inherited handle";
}

}  // namespace
