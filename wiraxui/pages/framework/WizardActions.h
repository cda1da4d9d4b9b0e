// The host-side steps of a wizard page's buttons and links, apart from the page's window.
#pragma once

#include <windows.h>

#include <string>

class CSetupManager;

namespace wiraxui {

// Asks the user (template 378 of the host library) whether to cancel the setup and tells the
// installation the answer. True when the user confirmed: the installation then carries result
// code 1602. False when the user declined or the question could not be asked; cancelling is
// enabled again.
bool ConfirmCancel(HWND page, CSetupManager& setup);

enum class WizardLink { Documentation, Support, Requirements };

// Opens a help document of the installation in the browser and reports the click.
void OpenWizardLink(WizardLink link, const CSetupManager* setup, const std::wstring& onlineAddress);

// Opens what a rich-label link points at (".pdf" with its program, ".htm"/".html" in the
// browser); anything else is ignored.
void OpenRichLabelTarget(const std::wstring& target, const CSetupManager* setup);

// "<setup folder>\Setup\whitelist.xml": what usage tracking starts again with.
std::wstring UsageWhitelistPath(const CSetupManager* setup);

}  // namespace wiraxui
