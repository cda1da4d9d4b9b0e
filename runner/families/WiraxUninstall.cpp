// The removal page, played like every wizard page (`call UninstallVerifyReadyDialog` and the user's
// steps after it), and what a removal scenario arranges: the product code of a product, the values its uninstall key
// holds, the symbol libraries' settings file and the host's answers about additional language
// packs. The settings file is shown after the summary, as the removal page left it. The
// directives' syntax: engine/ScenarioLanguage.cpp.
#include "pages/PageSteps.h"
#include "engine/WiraxPlayer.h"

#include "FileBytes.h"
#include "RegistryArranger.h"

#include <shlwapi.h>

#include <memory>
#include <sstream>

namespace runner {

namespace {

using hostkit::ExpectWords;
using hostkit::ScenarioError;
using hostkit::ScenarioLine;

constexpr wchar_t kUninstallRoot[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

CProduct& ProductOf(WiraxSession& session, const ScenarioLine& line, const std::wstring& key)
{
    return *hostkit::RequireDeclared(line, key, session.setup.FindProduct(key.c_str()));
}

std::wstring UninstallKeyOf(const CProduct& product, const ScenarioLine& line)
{
    if (product.m_productCode.empty())
        throw ScenarioError(line.number, L"product '" + product.Key() + L"' has no product code; add a 'product-code' line first");
    return kUninstallRoot + product.m_productCode;
}

// What the removal directives keep for one scenario: the uninstall values they put in place,
// and whether the language-pack flag is shown at the end already.
struct RemovalArrangement {
    const WiraxSession* session = nullptr;
    hostkit::RegistryArranger registry;
    bool flagShown = false;
};

RemovalArrangement& ArrangementOf(WiraxSession& session)
{
    static std::weak_ptr<RemovalArrangement> current;
    auto arrangement = current.lock();
    if (!arrangement || arrangement->session != &session) {
        arrangement = std::make_shared<RemovalArrangement>();
        arrangement->session = &session;
        session.arranged.push_back(arrangement);  // released, and its values removed, with the scenario
        current = arrangement;
    }
    return *arrangement;
}

void SetUninstallValue(WiraxSession& session, const ScenarioLine& line, const std::wstring& key, const std::wstring& name,
                       const std::wstring& type, const std::wstring& data)
{
    hostkit::RegistryArranger& registry = ArrangementOf(session).registry;
    bool written = false;
    if (type == L"dword")
        written = registry.SetDword(HKEY_LOCAL_MACHINE, key, name, static_cast<DWORD>(hostkit::ParseNumber(line, data)));
    else if (type == L"string")
        written = registry.SetString(HKEY_LOCAL_MACHINE, key, name, data);
    else
        throw ScenarioError(line.number, L"unknown value type '" + type + L"' (dword or string)");
    if (!written)
        throw ScenarioError(line.number, L"could not write the registry value (error " + std::to_wstring(registry.LastError()) + L")");
}

// A settings file the scenario made, with the folders it made for it; all removed at the end.
class ArrangedFile {
public:
    ArrangedFile(std::wstring path, std::vector<std::wstring> folders) : m_path(std::move(path)), m_folders(std::move(folders)) {}
    ~ArrangedFile()
    {
        DeleteFileW(m_path.c_str());
        for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder)
            RemoveDirectoryW(folder->c_str());
    }
    ArrangedFile(const ArrangedFile&) = delete;
    ArrangedFile& operator=(const ArrangedFile&) = delete;

private:
    std::wstring m_path;
    std::vector<std::wstring> m_folders;
};

// Creates the missing folders above path, outermost first; answers the ones it created.
std::vector<std::wstring> CreateFoldersFor(const std::wstring& path)
{
    std::vector<std::wstring> created;
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
        const std::wstring folder = path.substr(0, at);
        if (!PathIsDirectoryW(folder.c_str()) && CreateDirectoryW(folder.c_str(), nullptr))
            created.push_back(folder);
    }
    return created;
}

std::vector<std::wstring> FileLines(const std::wstring& path)
{
    std::vector<std::wstring> lines;
    std::string bytes;
    if (!hostkit::ReadFileBytes(path, bytes))
        return lines;
    std::istringstream text(bytes);
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(hostkit::FromUtf8(line));
    }
    return lines;
}

void ArrangeSettingsFile(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 2, 2, L"symlib-ini PRODUCT PATH");
    CProduct& product = ProductOf(session, line, line.words[1]);
    const std::wstring key = UninstallKeyOf(product, line);
    const std::wstring& path = line.words[2];
    if (PathIsRelativeW(path.c_str()) || path.size() < 4)
        throw ScenarioError(line.number, L"the settings file needs a full path, found '" + path + L"'");
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        throw ScenarioError(line.number, L"'" + path + L"' exists already; the scenario only removes what it made");
    std::vector<std::wstring> folders = CreateFoldersFor(path);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    const char content[] = "[Symbol Libraries]\r\npanel=1\r\n";
    DWORD written = 0;
    const bool made = file != INVALID_HANDLE_VALUE && WriteFile(file, content, sizeof content - 1, &written, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!made) {
        ArrangedFile cleanUp(path, std::move(folders));
        throw ScenarioError(line.number, L"could not create '" + path + L"'");
    }
    session.arranged.push_back(std::make_shared<ArrangedFile>(path, std::move(folders)));
    SetUninstallValue(session, line, key, L"SymLibIni", L"string", path);
    report.Line(L"settings file " + Quoted(path) + L", named by SymLibIni of " + product.Key());
    session.closingReports.push_back([path](Report& closing) {
        closing.Heading(L"Settings file " + path);
        for (const std::wstring& text : FileLines(path)) {
            closing.Line(text);
            if (!text.empty())
                closing.Fact(L"settings-file " + path + L" " + text);
        }
    });
}

void ShowLanguagePackFlag(WiraxSession& session)
{
    RemovalArrangement& arrangement = ArrangementOf(session);
    if (arrangement.flagShown)
        return;
    arrangement.flagShown = true;
    const CSetupManager* setup = &session.setup;
    session.closingReports.push_back([setup](Report& closing) {
        const bool remove = setup->m_removeAdditionalMUILPs;
        closing.Line(std::wstring(L"additional language packs: ") + (remove ? L"removed with the product" : L"kept"));
        closing.Fact(std::wstring(L"remove-additional-language-packs ") + (remove ? L"1" : L"0"));
    });
}

// Outside the removal mode the export shows no page; a call without steps then only calls it.
std::wstring PlayRemovalPage(WiraxSession& session, FARPROC function, const ScenarioLine& line)
{
    if (session.setup.m_setupMode != Setup::SETUPMODE_REMOVAL && session.pageSteps.empty() && line.words.size() == 2) {
        auto run = reinterpret_cast<int (*)(uintptr_t*)>(reinterpret_cast<void*>(function));
        return std::to_wstring(run(session.record.data()));
    }
    return PlayWizardPage(session, function, line);
}

const bool kRegistered = [] {
    WiraxExports()[L"UninstallVerifyReadyDialog"] = PlayRemovalPage;
    WiraxDirectives()[L"product-code"] = [](WiraxSession& session, const ScenarioLine& line, Report& report) {
        ExpectWords(line, 2, 2, L"product-code PRODUCT CODE");
        CProduct& product = ProductOf(session, line, line.words[1]);
        product.m_productCode = line.words[2];
        report.Line(L"product code of " + product.Key() + L": " + line.words[2]);
    };
    WiraxDirectives()[L"uninstall-value"] = [](WiraxSession& session, const ScenarioLine& line, Report& report) {
        ExpectWords(line, 4, 4, L"uninstall-value PRODUCT NAME dword|string DATA");
        CProduct& product = ProductOf(session, line, line.words[1]);
        SetUninstallValue(session, line, UninstallKeyOf(product, line), line.words[2], line.words[3], line.words[4]);
        report.Line(L"uninstall key of " + product.Key() + L": " + line.words[2] + L" = " + Quoted(line.words[4]));
    };
    WiraxDirectives()[L"symlib-ini"] = ArrangeSettingsFile;
    WiraxDirectives()[L"mui-uninstall-dialog"] = [](WiraxSession& session, const ScenarioLine& line, Report& report) {
        ExpectWords(line, 1, 1, L"mui-uninstall-dialog yes|no");
        session.setup.m_displayMUIUninstallDialog = hostkit::ParseYesNo(line, line.words[1]);
        report.Line(std::wstring(L"the host asks about additional language packs: ") + (session.setup.m_displayMUIUninstallDialog ? L"yes" : L"no"));
        ShowLanguagePackFlag(session);
    };
    WiraxDirectives()[L"remove-language-packs"] = [](WiraxSession& session, const ScenarioLine& line, Report& report) {
        ExpectWords(line, 1, 1, L"remove-language-packs yes|no");
        session.setup.m_removeAdditionalMUILPs = hostkit::ParseYesNo(line, line.words[1]);
        report.Line(std::wstring(L"additional language packs go with the product: ") + (session.setup.m_removeAdditionalMUILPs ? L"yes" : L"no"));
        ShowLanguagePackFlag(session);
    };
    return true;
}();

}  // namespace

}  // namespace runner
