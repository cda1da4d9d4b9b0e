#include "HostileRules.h"

#include <cwctype>

namespace hostile {

namespace {

bool StartsWith(const std::wstring& text, const std::wstring& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

bool EndsWith(const std::wstring& text, const std::wstring& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool IsNumber(const std::wstring& text)
{
    if (text.empty())
        return false;
    for (wchar_t c : text) {
        if (!iswdigit(c))
            return false;
    }
    return true;
}

bool OneOf(const std::wstring& result, std::initializer_list<const wchar_t*> allowed)
{
    for (const wchar_t* value : allowed) {
        if (result == value)
            return true;
    }
    return false;
}

Call Wirax(const wchar_t* name, Kind kind, const wchar_t* arguments = L"", int setupMode = 1)
{
    return Call{L"WiraxUI", name, kind, arguments, setupMode};
}

Call Formwell(const wchar_t* name, const wchar_t* arguments = L"")
{
    return Call{L"FormwellChecks", name, Kind::Formwell, arguments, 1};
}

const wchar_t* EveryPropertyWord(Condition condition)
{
    switch (condition) {
    case Condition::EmptyProperties:
        return L"empty";
    case Condition::LongProperties:
        return L"long";
    case Condition::MarkedProperties:
        return L"marked";
    default:
        return nullptr;
    }
}

// Ordinary values, such as a host's packages set; the product codes and the platform version
// are ones no installation on this machine has, so that the keys they lead to are absent.
const wchar_t* const kWiraxProperties = LR"(property WIRAX_MAIN PLNDVERSION "2099"
property WIRAX_MAIN PLNDPRODUCTID "0999"
property WIRAX_MAIN PLNDLOCALEID "1033"
property WIRAX_MAIN DRAWINGSTANDARD "IEC"
property WIRAX_MAIN SYMBOLLIBRARY "IEC,"
property WIRAX_MAIN WIRAXDEFAULTFOLDER "Wirax 2099"
property WIRAX_MAIN Manufacturer "Tarvena"
property WIRAX_MAIN PREVPRODUCTCODE "{0BADC0DE-0000-4000-8000-000000000001}"
property WIRAX_MAIN GLOBCONTENTPRODUCTCODE "{0BADC0DE-0000-4000-8000-000000000002}"
property WIRAX_MAIN LOCCONTENTPRODUCTCODE "{0BADC0DE-0000-4000-8000-000000000003}"
property WIRAX_LP GLOBPRODUCTCODE "{0BADC0DE-0000-4000-8000-000000000004}"
property WRXFWLADDIN ProductCode "{0BADC0DE-0000-4000-8000-000000000005}"
property WIRAX_MAIN LANG2LONG "en-us"
property WIRAX_MAIN M_AB "1"
)";

// The shared folders of a condition: the conditions run side by side, each in its own.
std::wstring ShareFolder(Condition condition)
{
    return L"c:\\users\\public\\hostileshare-" + std::to_wstring(static_cast<int>(condition)) + L"\\";
}

// The deployment the shared library installation works in: media to copy from, the shared
// content asked for (the shared library page takes the request into the plug-in), and the paths
// and selection initialisation computes from the properties.
const wchar_t* const kDeploymentPreparation = LR"(sample-media
language en-us
property WIRAX_MAIN SHAREDSUPPORT "1"
property WIRAX_MAIN SHAREDSYMBOL "1"
call InitializeProduct_WRX
call SharedLibraryPage keep
)";

const wchar_t* const kFormwellProperties = LR"(property FORMWELL GLOBPRODUCTCODE {0BADC0DE-0000-4000-8000-000000000011}
property FORMWELL ProductCode {0BADC0DE-0000-4000-8000-000000000011}
property PARTLIBRARY ProductCode {0BADC0DE-0000-4000-8000-000000000012}
property PARTLIBRARY ProductVersion 2099.0.0
property DWGVIEWER ProductCode {0BADC0DE-0000-4000-8000-000000000013}
property DWGVIEWER ProductVersion 99.0.0
)";

// Where a 5,000-character property (see EveryPropertyValue) puts the shared folders.
const wchar_t kLongShareFolder[] = L"c:\\longfoldername\\";

}  // namespace

std::optional<Condition> ParseCondition(const std::wstring& word)
{
    if (word == L"missing-product")
        return Condition::MissingProduct;
    if (word == L"empty")
        return Condition::EmptyProperties;
    if (word == L"long")
        return Condition::LongProperties;
    if (word == L"marked")
        return Condition::MarkedProperties;
    if (word == L"no-registry")
        return Condition::NoRegistry;
    if (word == L"no-resources")
        return Condition::NoResources;
    return std::nullopt;
}

std::vector<Call> CallsOf(const std::wstring& group)
{
    if (group == L"wiraxui-checks") {
        std::vector<Call> calls = {
            Wirax(L"InitializeProduct_WRX", Kind::Plain),
            Wirax(L"InitializeProductLP", Kind::Plain),
            Wirax(L"validateWiraxLPInstall", Kind::Plain),
            Wirax(L"InitElectCatBrowser", Kind::Plain),
            Wirax(L"FinalizeElectCatBrowser", Kind::Plain),
            Wirax(L"CheckAceDriver", Kind::ProductCheck),
            Wirax(L"ACE2010DriverCheck", Kind::ProductCheck),
            Wirax(L"CheckForGlobalProduct", Kind::ProductCheck),
            Wirax(L"CheckForFormwell", Kind::ProductCheck),
            Wirax(L"VCSQLMigrationMessage", Kind::ProductCheck),
            Wirax(L"CheckBeforeInstall", Kind::Plain),
            Wirax(L"DisplayDepotraMessage", Kind::Notice, L"\"Depotra 2027; 2027.1 ; https://depotra.tarvena.example/get\""),
            Wirax(L"CBCatalogBrowserMessage", Kind::Notice, L"\"New catalogs; https://catalogs.tarvena.example/new\""),
            Wirax(L"VCCatalogBrowserMessage", Kind::ProductNotice, L"PRDS"),
        };
        return calls;
    }
    if (group == L"wiraxui-pages") {
        std::vector<Call> calls = {
            Wirax(L"StandardSelectionPage", Kind::ConfigurationPage, L"keep"),
            Wirax(L"SymbolLibraryPage", Kind::ConfigurationPage, L"keep"),
            Wirax(L"SymbolLibraryDialog", Kind::WizardPage, L"cancel"),
            Wirax(L"ManufacturerContentPage", Kind::ConfigurationPage, L"keep"),
            Wirax(L"ManufacturerContentDialog", Kind::WizardPage, L"cancel"),
            Wirax(L"SharedLibraryPage", Kind::ConfigurationPage, L"keep"),
            Wirax(L"FormwellLibPathPage", Kind::ConfigurationPage, L"keep"),
            Wirax(L"FormwellMDBContentPage", Kind::ConfigurationPage, L"keep"),
            Wirax(L"SQLServerConfigPage", Kind::ConfigurationPage, L"keep"),
            Wirax(L"UninstallVerifyReadyDialog", Kind::WizardPage, L"cancel", 3),
            // Here because the shared library page, which it needs first, takes the display.
            Wirax(L"InstallSharedLibrary", Kind::Plain, L"", 4),
        };
        return calls;
    }
    if (group == L"formwell") {
        return {Formwell(L"AppCheck"), Formwell(L"PreCheck"), Formwell(L"PostCheck"), Formwell(L"LpEval", L"FORMWELL"),
                Formwell(L"FwcPreCheck", L"FORMWELL"), Formwell(L"CustomPlatformCheck"),
                Formwell(L"CheckForSSE2Support", L"FORMWELL")};
    }
    return {};
}

std::wstring Scenario(const Call& call, Condition condition, const std::wstring& emptyResourceFolder)
{
    const bool missing = condition == Condition::MissingProduct;
    std::wstring text = L"plugin " + call.plugin + L"\n";
    if (condition == Condition::NoResources)
        text += L"resource-folder \"" + emptyResourceFolder + L"\"\n";
    std::wstring arguments = call.arguments;
    if (call.plugin == L"FormwellChecks") {
        if (call.exportName == L"CustomPlatformCheck")
            text += L"windows win8\n";  // the version that gets the notice and its texts
        if (missing) {
            text += L"product OTHER_PRODUCT state=1 action=2\n";
            if (!arguments.empty())
                arguments = L"OTHER_PRODUCT";
        } else {
            text += L"product FORMWELL state=1 action=2\nproduct PARTLIBRARY action=4\nrequisite DWGVIEWER action=4\n"
                    L"product FWCPRECHECK state=1\n";
            if (condition == Condition::NoRegistry || condition == Condition::NoResources)
                text += kFormwellProperties;
        }
    } else {
        text += L"setup-mode " + std::to_wstring(call.setupMode) + L"\n";
        if (missing) {
            text += L"product OTHER_PRODUCT state=5 action=8\n";
        } else {
            for (const wchar_t* key : {L"WIRAX_MAIN", L"WIRAX", L"WIRAX_LP", L"WIRAXCONTENT_LP", L"WRXFWLADDIN"})
                text += L"product " + std::wstring(key) + L" state=5 action=8\n";
            text += L"product-code WIRAX_MAIN \"{0BADC0DE-0000-4000-8000-000000000000}\"\n";
            if (condition == Condition::NoRegistry || condition == Condition::NoResources) {
                text += kWiraxProperties;
                text += L"property WIRAX_MAIN NETSHAREDSUPPORTPATH \"" + ShareFolder(condition) + L"Support\\\"\n";
                text += L"property WIRAX_MAIN NETSHAREDSYMLIBPATH \"" + ShareFolder(condition) + L"Symbols\\\"\n";
            }
        }
        const std::wstring product = missing ? L"OTHER_PRODUCT" : L"WIRAX_MAIN";
        if (call.kind == Kind::ProductCheck)
            arguments = product;
        else if (call.kind == Kind::ProductNotice)
            arguments = product + L" " + arguments;
    }
    if (const wchar_t* word = EveryPropertyWord(condition))
        text += L"every-property " + std::wstring(word) + L"\n";
    if (call.exportName == L"InstallSharedLibrary" && !missing)
        text += kDeploymentPreparation;
    text += L"call " + call.exportName + (arguments.empty() ? L"" : L" " + arguments) + L"\n";
    return text;
}

bool ReturnAllowed(const Call& call, Condition condition, const std::wstring& result)
{
    const bool missing = condition == Condition::MissingProduct;
    const bool noResources = condition == Condition::NoResources;
    const std::wstring& name = call.exportName;
    switch (call.kind) {
    case Kind::ConfigurationPage:
        if (noResources)
            return result == L"no page";
        // Kept pages are never committed, so the report is the height alone.
        return StartsWith(result, L"page of height ") && IsNumber(result.substr(15));
    case Kind::WizardPage:
        if (noResources)
            return result == L"1603";
        // Left with Cancel: cancelled, unless the page could not be created.
        return OneOf(result, {L"1602", L"1603"});
    case Kind::ProductCheck:
    case Kind::Notice:
    case Kind::ProductNotice:
        return OneOf(result, {L"true", L"false"});
    case Kind::Formwell:
        if (name == L"AppCheck" || name == L"PreCheck" || name == L"PostCheck")
            return result == L"false";
        if (name == L"FwcPreCheck" || name == L"CustomPlatformCheck")
            return result == L"true";
        if (name == L"LpEval")
            return missing ? result == L"false" : OneOf(result, {L"true", L"false"});
        return OneOf(result, {L"true", L"false"});
    case Kind::Plain:
        break;
    }
    if (name == L"InitializeProduct_WRX" || name == L"InitElectCatBrowser")
        return result == (missing ? L"0" : L"1");
    if (name == L"InitializeProductLP" || name == L"FinalizeElectCatBrowser")
        return result == L"0";
    if (name == L"validateWiraxLPInstall")
        return result == L"1";
    if (name == L"CheckBeforeInstall")
        return missing ? result == L"0" : OneOf(result, {L"1", L"2"});
    if (name == L"InstallSharedLibrary")
        return missing ? result == L"0" : OneOf(result, {L"0", L"1602", L"1603"});
    return false;
}

bool BoxAllowed(const Call& call, const std::wstring& result, const std::wstring& box)
{
    // The resource loader's box once its attempts are used up.
    if (StartsWith(box, L"Error | Failed to load ") && EndsWith(box, L")!"))
        return true;
    // The confirmation a wizard page asks for when it is left with Cancel, as these calls leave it.
    if (call.kind == Kind::WizardPage && StartsWith(box, L"Cancel Setup | "))
        return true;
    // The one box a check shows: the warning that no manufacturer content is selected.
    return call.exportName == L"CheckBeforeInstall" && result == L"2" && box.find(L" | ") != std::wstring::npos;
}

std::vector<std::wstring> MayWrite(const Call& call, Condition condition)
{
    if (call.exportName != L"InstallSharedLibrary")
        return {};
    // The shared folders, wherever the properties put them.
    if (condition == Condition::LongProperties)
        return {kLongShareFolder};
    return {ShareFolder(condition)};
}

std::vector<std::wstring> OthersMayWrite() { return {kLongShareFolder, L"c:\\users\\public\\hostileshare-"}; }

bool FileAllowed(const Call& call, const std::wstring& path)
{
    // The removal page records the choice about the symbol libraries in their settings file.
    return call.exportName == L"UninstallVerifyReadyDialog" && EndsWith(path, L"\\symlib.ini");
}

}  // namespace hostile
