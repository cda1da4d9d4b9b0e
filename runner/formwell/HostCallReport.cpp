#include "HostCallReport.h"

namespace formwellrun {

namespace {

std::wstring W(const QString& text) { return text.toStdWString(); }

// Facts keep one line each.
std::wstring OneLine(const std::wstring& value)
{
    std::wstring result;
    for (wchar_t c : value)
        result += c == L'\n' ? std::wstring(L"\\n") : std::wstring(1, c);
    return result;
}

void ReportProduct(const CProduct& product, const wchar_t* kind, IPlayerReport& report)
{
    const std::wstring key = W(product.Key());
    report.Line(key + L" (" + kind + L"): install state " + StateText(product.m_installState) + L", install action " +
                StateText(product.m_installAction));
    report.Fact(L"final " + key + L" state=" + std::to_wstring(product.m_installState) +
                L" action=" + std::to_wstring(product.m_installAction));
    if (const auto& message = product.Message()) {
        report.Line(L"  message (state " + std::to_wstring(message->state) + L", action " +
                    std::to_wstring(message->action) + L"): " + Quoted(W(message->text)));
        report.Fact(L"final-message " + key + L" | " + OneLine(W(message->text)));
    }
    if (!product.m_alertUrl.isEmpty() || !product.m_alertUrlTitle.isEmpty()) {
        report.Line(L"  link " + Quoted(W(product.m_alertUrlTitle)) + L" -> " + Quoted(W(product.m_alertUrl)));
        report.Fact(L"final-link " + key + L" " + W(product.m_alertUrl) + L" | " + W(product.m_alertUrlTitle));
    }
}

}  // namespace

std::wstring Quoted(const std::wstring& value) { return L"\"" + OneLine(value) + L"\""; }

std::wstring StateText(int value)
{
    const std::wstring name = W(Setup::InstallStateName(value));
    const std::wstring number = std::to_wstring(value);
    return name == number ? number : number + L" (" + name + L")";
}

void ReportHostCalls(const std::vector<HostCall>& calls, size_t from, IPlayerReport& report)
{
    for (size_t i = from; i < calls.size(); ++i) {
        const HostCall& call = calls[i];
        const std::wstring product = W(call.product);
        const std::wstring text = W(call.text);
        const std::wstring number = std::to_wstring(call.number);
        switch (call.kind) {
        case HostCall::Kind::InstallStateSet:
            report.Line(product + L" install state -> " + StateText(static_cast<int>(call.number)));
            report.Fact(L"install-state " + product + L" " + number);
            break;
        case HostCall::Kind::InstallActionSet:
            report.Line(product + L" install action -> " + StateText(static_cast<int>(call.number)));
            report.Fact(L"install-action " + product + L" " + number);
            break;
        case HostCall::Kind::MessageSet:
            report.Line(L"message on " + product + L" (state " + number + L", action " + std::to_wstring(call.extra) +
                        L"): " + Quoted(text));
            report.Fact(L"message " + product + L" " + number + L" " + std::to_wstring(call.extra) + L" | " + OneLine(text));
            break;
        case HostCall::Kind::AlertUrlSet:
            report.Line(L"alert link on " + product + L": " + Quoted(text));
            report.Fact(L"alert-url " + product + L" " + text);
            break;
        case HostCall::Kind::AlertUrlTitleSet:
            report.Line(L"alert title on " + product + L": " + Quoted(text));
            report.Fact(L"alert-title " + product + L" " + text);
            break;
        case HostCall::Kind::UserMessage:
            report.Line(L"user message, kind " + number + L": " + Quoted(text));
            report.Fact(L"user-message " + number + L" | " + OneLine(text));
            break;
        case HostCall::Kind::SSE2Checked:
            report.Line(L"host's SSE2 check" + (product.empty() ? std::wstring() : L" for " + product) + L" answered " +
                        (call.number ? L"yes" : L"no"));
            report.Fact(L"sse2 " + number);
            break;
        default:
            break;
        }
    }
}

void ReportFinalState(const CSetupManager& setup, IPlayerReport& report)
{
    report.Heading(L"At the end of the scenario");
    for (const auto& product : setup.Products())
        ReportProduct(*product, L"product", report);
    for (const auto& requisite : setup.Requisites())
        ReportProduct(*requisite, L"requisite", report);
}

}  // namespace formwellrun
