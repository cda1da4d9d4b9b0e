// Directives that set up the installation itself for several export families: where its media
// and administrative image are, which platform it installs, and its deployment folder.
#include "engine/WiraxPlayer.h"

namespace runner {

namespace {

using hostkit::ExpectWords;
using hostkit::ScenarioError;
using hostkit::ScenarioLine;

void SourceRoot(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 1, L"source-root PATH");
    session.setup.m_sourceRoot = line.words[1];
    report.Line(L"source root " + Quoted(line.words[1]));
}

void AdminImagePath(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 1, L"admin-image-path PATH");
    session.setup.m_adminImagePath = line.words[1];
    report.Line(L"administrative image " + Quoted(line.words[1]));
}

// "x86" and "x64" as a person says it, or the host's platform word itself (2 selects x86).
void TargetPlatform(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 1, L"target-platform x86|x64|N");
    const std::wstring& word = line.words[1];
    if (word == L"x86")
        session.setup.m_targetPlatform = 2;
    else if (word == L"x64")
        session.setup.m_targetPlatform = 1;
    else
        session.setup.m_targetPlatform = static_cast<int>(hostkit::ParseNumber(line, word));
    report.Line(L"target platform " + word);
}

void DeploymentFolder(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 1, L"deployment-folder PATH");
    session.setup.m_deploymentFolder = line.words[1];
    report.Line(L"deployment folder " + Quoted(line.words[1]));
}

const bool kRegistered = [] {
    WiraxDirectives()[L"source-root"] = SourceRoot;
    WiraxDirectives()[L"admin-image-path"] = AdminImagePath;
    WiraxDirectives()[L"target-platform"] = TargetPlatform;
    WiraxDirectives()[L"deployment-folder"] = DeploymentFolder;
    return true;
}();

}  // namespace

}  // namespace runner
