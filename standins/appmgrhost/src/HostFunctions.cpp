// The host's free functions that plug-ins call, and the names of its install states.
#include "AppMgrHost.h"

QString Setup::InstallStateName(int value)
{
    switch (value) {
    case INSTALLSTATE_UNKNOWN: return QStringLiteral("unknown");
    case INSTALLSTATE_AVAILABLE: return QStringLiteral("available");
    case INSTALLSTATE_INSTALL: return QStringLiteral("install");
    case INSTALLSTATE_INSTALLED: return QStringLiteral("installed");
    case INSTALLSTATE_UPGRADE: return QStringLiteral("upgrade");
    case INSTALLSTATE_REINSTALL: return QStringLiteral("reinstall");
    case INSTALLSTATE_PROCEED: return QStringLiteral("proceed");
    case INSTALLSTATE_BLOCKED: return QStringLiteral("blocked");
    case INSTALLSTATE_REMOVE: return QStringLiteral("remove");
    case INSTALLSTATE_IGNORE: return QStringLiteral("ignore");
    default: return QString::number(value);
    }
}

int ThrowUserMessage(int owner, const QString& text, int kind, int caption, int buttons, int icon, int helpId, int flags)
{
    HostCall call{HostCall::Kind::UserMessage, QString(), text};
    call.number = kind;
    call.extra = owner;
    call.detail = QStringLiteral("%1 %2 %3 %4 %5").arg(caption).arg(buttons).arg(icon).arg(helpId).arg(flags);
    CSetupContext::Instance()->Journal().Add(std::move(call));
    return 0;
}

bool CheckForSSE2Support(void* hostValue, CProduct* product)
{
    const bool answer = CSetupContext::Instance()->SSE2Answer();
    HostCall call{HostCall::Kind::SSE2Checked, product ? product->Key() : QString()};
    call.number = answer;
    call.extra = static_cast<long long>(reinterpret_cast<intptr_t>(hostValue));
    CSetupContext::Instance()->Journal().Add(std::move(call));
    return answer;
}
