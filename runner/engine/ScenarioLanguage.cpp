#include "engine/ScenarioLanguage.h"

#include "Scenario.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace runner {

const std::vector<Phrase>& ScenarioLanguage()
{
    using S = Speaker;
    static const std::vector<Phrase> phrases = {
        // The installation
        {S::Wirax, L"plugin WiraxUI", L"the plug-in to load (WiraxUI when absent)"},
        {S::Wirax, L"setup-mode N", L"the installation's setup mode (2, 3: changing an installation; 4, 5, 6: deployment)"},
        {S::Wirax, L"network-paths 0|1", L"the installation's network-paths flag"},
        {S::Wirax, L"install-path PATH", L"the installation's install path; its drive receives extra disk cost"},
        {S::Wirax, L"resource-folder PATH", L"where the host keeps its resource libraries (default: the runner's folder)"},
        {S::Wirax, L"product KEY [state=N] [action=N]", L"a product of the installation with its install state and action word"},
        {S::Wirax, L"property PRODUCT NAME VALUE", L"an installer property of a product, as the host's packages set it"},
        {S::Wirax, L"every-property empty|long|marked", L"every property no line set reads as that value"},
        {S::Wirax, L"registry HKLM|HKCU KEY NAME dword|string DATA", L"a registry value put in place (64-bit view); removed at the end"},
        {S::Wirax, L"show-file PATH", L"the report shows the file's lines as they are at this point"},
        {S::Wirax, L"call EXPORT [ARGUMENTS]", L"calls the plug-in's export (InstallSharedLibrary: cancel-after=N, cancel-at-record=N); a page's steps follow"},
        {S::Wirax, L"source-root PATH", L"the installation's source root (its media)"},
        {S::Wirax, L"admin-image-path PATH", L"the installation's administrative image"},
        {S::Wirax, L"target-platform x86|x64|N", L"the platform the installation installs (word 2: x86)"},
        {S::Wirax, L"deployment-folder PATH", L"the deployment's folder (the shared library page starts there)"},
        {S::Wirax, L"feature PRODUCT NAME", L"the product's package has the feature NAME"},
        // Pages and the host around them
        {S::Wirax, L"page-product KEY", L"the product the pages configure; the main product by default"},
        {S::Wirax, L"page-callbacks init|refresh|leave [ANSWERS ...]", L"that callback list of the pages that follow, answering ANSWERS in turn"},
        {S::Wirax, L"page-context N", L"the host's context value in the page record, handed back to the callbacks"},
        {S::Wirax, L"run-state N", L"the installation's run-state field (4: a wizard page's Cancel acts as Next)"},
        {S::Wirax, L"cancel-allowed yes|no", L"the installation's cancel-allowed flag (no: Cancel does nothing)"},
        {S::Wirax, L"title TEXT", L"the installation's title: the caption of the pages' message boxes and wizard windows"},
        {S::Wirax, L"deployment-name TEXT", L"the installation's deployment name; a deployment's wizard windows carry it after the title"},
        {S::Wirax, L"host-order yes|no", L"from here on, each call is followed by its host callbacks, usage reports and calls on the installation in one order"},
        {S::Wirax, L"usage-reports yes|no", L"from here on, each call is followed by the usage reports its pages sent"},
        {S::Wirax, L"page-word 23|24|25 N", L"a host word of the wizard pages' record (default 1, 0, 0; word 23 = 0 disables Back)"},
        {S::Step, L"user click ID [LINK-TEXT]", L"presses a button, radio button or link with the mouse; with a text, that link of a rich label"},
        {S::Step, L"user check ID [ITEM]", L"checks a check box, or the item of a list view with that text"},
        {S::Step, L"user clear ID [ITEM]", L"clears a check box, or the item of a list view with that text"},
        {S::Step, L"user type ID TEXT", L"replaces the text of an edit box or a combo box's edit"},
        {S::Step, L"user select ID TEXT", L"chooses the item of a combo box or list box"},
        {S::Step, L"user answer ok|yes|no|cancel", L"answers the next dialog the page opens"},
        {S::Step, L"host changed NAME [VALUE]", L"the host sets a property of the page's product and tells the page"},
        {S::Step, L"user commit", L"the host commits the configuration page; may come more than once"},
        {S::Step, L"user next|back|first|cancel", L"presses that button of a wizard page"},
        {S::Step, L"user key enter|space ID", L"moves the focus to the control as Tab does and presses the key there"},
        {S::Step, L"user press-twice next", L"presses Next, and again while the page handles the first press"},
        {S::Step, L"user read caption|ID", L"reads the current dialog's caption or a control's text, as the user sees it"},
        // Links
        {S::Wirax, L"link documentation|support|requirements ADDRESS [DOCUMENT]", L"that document's online address and its offline document path"},
        {S::Wirax, L"host-resources HOST-FOLDER [SOURCE-FOLDER]", L"the host's resource folders, where relative document paths are looked up"},
        {S::Wirax, L"ui-language TAG", L"the setup's language, which replaces %setuphostlang% in a document path"},
        {S::Wirax, L"browser COMMAND|none", L"the command registered for http links from here on; <browser> is the stand-in browser"},
        {S::Wirax, L"connection none|online", L"what the system answers when the plug-in asks whether the machine is connected"},
        {S::Wirax, L"shell-answer CODE[,CODE...]", L"what the shell answers the plug-in's open requests from here on, one per request, the last from then on"},
        // Machines the checks and the catalog browser look at
        {S::Wirax, L"installed-package CODE NAME VERSION [PROPERTY=VALUE ...]", L"a package built with msi.dll, installed with msiexec and removed at the end"},
        {S::Wirax, L"existing-file PATH", L"an empty file (and the folders above it) for the length of the scenario"},
        {S::Wirax, L"host-check yes|no", L"what the host's standard check answers (default yes)"},
        {S::Wirax, L"environment NAME VALUE|-", L"a variable of the host's process (- removes it); put back at the end"},
        // Deployment
        {S::Wirax, L"sample-media [FOLDER [edition=N] [library-files=N] [file-bytes=N] [user-files=N]]", L"builds a complete installation source and makes it the source root"},
        {S::Wirax, L"language TAG [PACK-NAME PACKAGE]", L"the installation's language, optionally with a language pack"},
        {S::Wirax, L"show-tree PATH", L"the report lists the files below PATH at the end"},
        {S::Wirax, L"fresh-folder PATH", L"PATH is emptied now and removed at the end"},
        // Removal
        {S::Wirax, L"product-code PRODUCT CODE", L"the product's installer product code"},
        {S::Wirax, L"uninstall-value PRODUCT NAME dword|string DATA", L"a value of the product's uninstall key, removed at the end"},
        {S::Wirax, L"symlib-ini PRODUCT PATH", L"a settings file made at PATH and named by the key's SymLibIni"},
        {S::Wirax, L"mui-uninstall-dialog yes|no", L"what the host answers when the page asks whether to show the language-pack question"},
        {S::Wirax, L"remove-language-packs yes|no", L"the host's remove-additional-language-packs flag before the page"},
        // FormwellChecks
        {S::Formwell, L"plugin FormwellChecks", L"plays the scenario against FormwellChecks.dll and its own host"},
        {S::Formwell, L"windows VERSION", L"the Windows version the host program reports (win7, win8, win81, win10)"},
        {S::Formwell, L"resource-folder PATH", L"where the host keeps FormwellUIRes.dll (default: the runner's folder)"},
        {S::Formwell, L"sse2 yes|no", L"what the host's CheckForSSE2Support answers (default: the processor's answer)"},
        {S::Formwell, L"product KEY [state=N] [action=N]", L"a product of the installation with its install state and install action"},
        {S::Formwell, L"requisite KEY [state=N] [action=N]", L"a requisite of the installation with its install state and install action"},
        {S::Formwell, L"property PRODUCT NAME VALUE", L"an installer property of a product or requisite"},
        {S::Formwell, L"installed-package CODE NAME VERSION", L"a real package built with msi.dll and installed with msiexec"},
        {S::Formwell, L"advertised-package CODE NAME VERSION", L"a product Windows Installer reports as advertised"},
        {S::Formwell, L"every-property empty|long|marked", L"every property no product defines reads as that value"},
        {S::Formwell, L"call EXPORT [PRODUCT]", L"calls the export (LpEval and FwcPreCheck with a product)"},
    };
    return phrases;
}

std::vector<std::wstring> PhraseNames(const std::wstring& syntax)
{
    std::wistringstream words(syntax);
    std::wstring first;
    std::wstring second;
    words >> first >> second;
    if (first != L"user" && first != L"host")
        return {first};
    std::vector<std::wstring> names;
    std::wistringstream alternatives(second);
    for (std::wstring action; std::getline(alternatives, action, L'|');)
        names.push_back(first + L" " + action);
    return names;
}

std::vector<std::wstring> LanguageDisagreements(const std::vector<std::wstring>& handled)
{
    std::set<std::wstring> written;
    for (const Phrase& phrase : ScenarioLanguage()) {
        if (phrase.speaker == Speaker::Wirax)
            written.insert(PhraseNames(phrase.syntax).front());
    }
    const std::set<std::wstring> played(handled.begin(), handled.end());
    std::vector<std::wstring> disagreements;
    for (const std::wstring& name : played) {
        if (!written.count(name))
            disagreements.push_back(L"'" + name + L"' is played but has no line in the scenario language");
    }
    for (const std::wstring& name : written) {
        if (!played.count(name))
            disagreements.push_back(L"'" + name + L"' has a line in the scenario language but nothing plays it");
    }
    return disagreements;
}

void PrintLanguage(FILE* out)
{
    size_t width = 0;
    for (const Phrase& phrase : ScenarioLanguage())
        width = std::max(width, wcslen(phrase.syntax));
    width = std::min<size_t>(width, 44);
    const auto section = [&](Speaker speaker, const char* heading) {
        fprintf(out, "\n%s\n", heading);
        for (const Phrase& phrase : ScenarioLanguage()) {
            if (phrase.speaker != speaker)
                continue;
            const std::string syntax = hostkit::Utf8(phrase.syntax);
            if (syntax.size() > width)
                fprintf(out, "  %s\n  %-*s  %s\n", syntax.c_str(), static_cast<int>(width), "", hostkit::Utf8(phrase.help).c_str());
            else
                fprintf(out, "  %-*s  %s\n", static_cast<int>(width), syntax.c_str(), hostkit::Utf8(phrase.help).c_str());
        }
    };
    section(Speaker::Wirax, "WiraxUI scenarios, one directive a line:");
    section(Speaker::Step, "Steps on a page, on the lines right after the call that opens it:");
    section(Speaker::Formwell, "FormwellChecks scenarios (plugin FormwellChecks):");
}

}  // namespace runner
