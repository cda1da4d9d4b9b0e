// The setup host's codes: every number that the host and a plug-in must read alike. Setup modes,
// install states and actions of products, the kinds of product messages and of progress reports,
// the words of the record an export receives, and the codes a wizard page or an install action
// answers with. The host's headers are their one home; the plug-in, the stand-in host, the runner
// and the tests all name them from here.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace Setup {

// The installation's setup mode (CSetupManager::m_setupMode). The host knows more modes than
// these; the plug-ins tell only these apart, and treat any other like an installation.
enum SetupMode : int {
    SETUPMODE_INSTALL = 1,         // installing on this machine (what a new installation starts in)
    SETUPMODE_MAINTENANCE = 2,     // an installed product is changed
    SETUPMODE_REMOVAL = 3,         // an installed product is removed (or changed): the removal page's mode
    SETUPMODE_DEPLOY = 4,          // a deployment is built; a confirmed cancel cancels the deployment
    SETUPMODE_DEPLOY_UPDATE = 5,   // a deployment is built over an earlier one
    SETUPMODE_DEPLOY_CHANGE = 6,   // a deployment's choice is changed: compared with what it held
};

// The host builds a deployment for other machines rather than installing on this one.
constexpr bool IsDeploymentMode(int mode)
{
    return mode == SETUPMODE_DEPLOY || mode == SETUPMODE_DEPLOY_UPDATE || mode == SETUPMODE_DEPLOY_CHANGE;
}

// An installation that is already on this machine is being changed.
constexpr bool IsChangingMode(int mode) { return mode == SETUPMODE_MAINTENANCE || mode == SETUPMODE_REMOVAL; }

// Values of the host's install-state enumeration: a product's install state and action word
// (CProduct::m_installState, m_actionWord), and the state and action result words that a check
// fills for a requisite.
enum tagINSTALLSTATE : int {
    INSTALLSTATE_NONE = 0,
    // States.
    INSTALLSTATE_NOT_PRESENT = 1,   // not on the machine
    INSTALLSTATE_PRESENT = 2,       // on the machine
    INSTALLSTATE_CONFLICT = 3,      // on the machine in a form that keeps the product out
    INSTALLSTATE_UPGRADE = 4,       // on the machine, replaced by a newer version in this run
    INSTALLSTATE_REINSTALL = 5,     // on the machine, installed again in this run
    INSTALLSTATE_REFUSED = 7,       // a check refused the product; its message says why
    // Actions.
    INSTALLACTION_KEEP = 7,         // nothing to do: what is there stays
    INSTALLACTION_INSTALL = 8,      // installed in this run
    INSTALLACTION_LEAVE_OUT = 11,   // left out of this run
};

// The states in which a product counts as installed: present, or present and installed anew.
constexpr bool IsInstalledState(int state)
{
    return state == INSTALLSTATE_PRESENT || state == INSTALLSTATE_UPGRADE || state == INSTALLSTATE_REINSTALL;
}

// The installation's run state (CSetupManager::m_runState); only this value is told apart: the
// setup has gone past the point of cancelling, so a wizard page's Cancel moves on like Next.
constexpr int RUNSTATE_PAST_CANCELLING = 4;

// Kinds of the messages shown beside a product (CProduct::SetMessage, DeleteMessage): one
// message per kind.
enum MessageKind : int {
    MESSAGE_NOTICE = 1,     // a notice
    MESSAGE_WARNING = 2,    // a warning; the installation goes on
    MESSAGE_REFUSAL = 128,  // a check refused the product
};

// Kinds of CSetupManager::ProgressUpdate's reports.
enum ProgressKind : int {
    PROGRESS_TEXT = 9,      // a text, no record: the item being processed; an empty text starts a phase
    PROGRESS_RECORD = 12,   // a progress record (ProgressMessage)
};

// Kinds of a progress record (ProgressMessage::kind).
enum ProgressRecordKind : int32_t {
    PROGRESS_RESET = 0,     // a phase's total: value = total, step = 0
    PROGRESS_STEP = 2,      // a step: value = its size, step = 1
};

// What a wizard page's export answers when the user leaves the page (its window's exit code).
enum WizardExit : int {
    WIZARD_NEXT = IDOK,                            // 1
    WIZARD_BACK = 1001,
    WIZARD_FIRST = 1278,
    WIZARD_CANCELLED = ERROR_INSTALL_USEREXIT,     // 1602: the user cancelled
    WIZARD_NOT_CREATED = ERROR_INSTALL_FAILURE,    // 1603: the page could not be made
};

// The result codes of the install action and of a cancelled installation (Windows' own codes,
// CSetupManager::m_resultCode).
constexpr int RESULT_DONE = ERROR_SUCCESS;
constexpr int RESULT_CANCELLED = ERROR_INSTALL_USEREXIT;  // 1602
constexpr int RESULT_FAILED = ERROR_INSTALL_FAILURE;      // 1603

// What a host callback of a page answers to keep the user on the page.
constexpr int CALLBACK_STAY_ON_PAGE = 2;

}  // namespace Setup

// Word numbers of the record an export receives; every word is pointer-sized. Pages receive all
// of it; the other exports read the words named for them.
namespace PageRecord {
constexpr size_t kWords = 32;
constexpr size_t kParentWindow = 0;    // HWND: parent of a configuration page
constexpr size_t kNoticeParameter = 1; // const wchar_t*: the notice exports' parameter text
constexpr size_t kSetupManager = 6;    // CSetupManager*
constexpr size_t kProduct = 7;         // CProduct*
constexpr size_t kHostValue = 8;       // kept by the page, not interpreted
constexpr size_t kHostText = 9;        // with word 8: a string the page-event record leaves empty
constexpr size_t kInitList = 11;       // HostCallbackList, words 11-13
constexpr size_t kRefreshList = 14;    // words 14-16
constexpr size_t kLeaveList = 17;      // words 17-19
constexpr size_t kContext = 20;        // handed back to the callbacks
constexpr size_t kResourceModule = 21; // HMODULE of the product resource library (wizard pages)
constexpr size_t kResourcePath = 22;   // const wchar_t*: full path of it (configuration pages)
constexpr size_t kHostWords = 23;      // words 23-25; word 23 zero: the wizard page has no Back
constexpr size_t kHostWordCount = 3;
constexpr size_t kBackAllowed = kHostWords;       // word 23: zero disables a wizard page's Back
constexpr size_t kEventMark = kHostWords + 2;     // word 25: 1 in the record a page hands its callbacks
}  // namespace PageRecord
