#include "LoadedLibrary.h"
#include "FormwellRun.h"

#include "FormwellPlayer.h"

#include <windows.h>

#include <cstdio>

namespace runner {

namespace {

class ReportAdapter final : public formwellrun::IPlayerReport {
public:
    explicit ReportAdapter(Report& report) : m_report(report) {}
    void Heading(const std::wstring& text) override { m_report.Heading(text); }
    void Line(const std::wstring& text) override { m_report.Line(text); }
    void Fact(const std::wstring& text) override { m_report.Fact(text); }

private:
    Report& m_report;
};

}  // namespace

int PlayFormwell(const std::vector<hostkit::ScenarioLine>& lines, Report& report)
{
    hostkit::LoadedLibrary player(L"FormwellPlayer.dll");
    auto* play = player.Module() ? reinterpret_cast<formwellrun::PlayFormwellScenarioFunction*>(reinterpret_cast<void*>(
                                       GetProcAddress(player.Module(), "PlayFormwellScenario")))
                                 : nullptr;
    if (!play) {
        fprintf(stderr,
                "hostrun: cannot load FormwellPlayer.dll (error %lu); it is built with Qt 5 Core, which "
                "scripts/demo.sh builds once when it is given a FormwellChecks scenario\n",
                GetLastError());
        return 3;
    }
    ReportAdapter adapter(report);
    formwellrun::PlayerError error;
    const int result = play(lines, adapter, error);
    if (result == 2)
        throw hostkit::ScenarioError(error.line, error.message);
    return result;
}

}  // namespace runner
