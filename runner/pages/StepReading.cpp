#include "pages/StepReading.h"

namespace runner::pages {

namespace {

using hostkit::ScenarioError;
using hostkit::ScenarioLine;

int AnswerButton(const ScenarioLine& line, const std::wstring& word)
{
    if (word == L"ok")
        return IDOK;
    if (word == L"cancel")
        return IDCANCEL;
    if (word == L"yes")
        return IDYES;
    if (word == L"no")
        return IDNO;
    throw ScenarioError(line.number, L"expected ok, yes, no or cancel, found '" + word + L"'");
}

std::wstring Joined(const std::vector<std::wstring>& words)
{
    std::wstring said;
    for (const std::wstring& word : words) {
        if (!said.empty())
            said += L" ";
        said += hostkit::QuotedWord(word);
    }
    return said;
}

Step ReadStep(const ScenarioLine& line, bool wizard)
{
    Step step;
    step.line = line.number;
    step.said = Joined(line.words);
    const std::wstring& who = line.words[0];
    if (who == L"host") {
        hostkit::ExpectWords(line, 2, 3, L"host changed NAME [VALUE]");
        if (line.words[1] != L"changed")
            throw ScenarioError(line.number, L"unknown host step '" + line.words[1] + L"' (host changed NAME [VALUE])");
        if (wizard)
            throw ScenarioError(line.number, L"a wizard page is not told about property changes");
        step.kind = StepKind::PropertyChanged;
        step.text = line.words[2];
        if (line.words.size() > 3)
            step.value = line.words[3];
        return step;
    }
    hostkit::ExpectWords(line, 1, 3, L"user ACTION [CONTROL-ID] [TEXT]");
    const std::wstring& action = line.words[1];
    const auto control = [&]() {
        if (line.words.size() < 3)
            throw ScenarioError(line.number, L"'user " + action + L"' needs a control id");
        return static_cast<int>(hostkit::ParseNumber(line, line.words[2]));
    };
    static const std::pair<const wchar_t*, int> wizardButtons[] = {
        {L"next", IDOK}, {L"back", 1001}, {L"first", 1278}, {L"cancel", IDCANCEL}};
    for (const auto& [name, id] : wizardButtons) {
        if (action != name)
            continue;
        if (!wizard)
            throw ScenarioError(line.number, L"'user " + action + L"' is a wizard page's button; a configuration page is left with 'user commit'");
        hostkit::ExpectWords(line, 1, 1, L"user next|back|first|cancel");
        step.kind = StepKind::Click;
        step.control = id;
        return step;
    }
    if (action == L"press-twice") {
        // The user presses a wizard button again while the page still handles the first press.
        hostkit::ExpectWords(line, 2, 2, L"user press-twice next|back|first|cancel");
        if (!wizard)
            throw ScenarioError(line.number, L"'user press-twice' presses a wizard page's button");
        step.kind = StepKind::PressTwice;
        for (const auto& [name, id] : wizardButtons)
            step.control = line.words[2] == name ? id : step.control;
        if (!step.control)
            throw ScenarioError(line.number, L"expected next, back, first or cancel, found '" + line.words[2] + L"'");
        return step;
    }
    if (action == L"key") {
        // The user moves the focus to the control and presses the key there.
        hostkit::ExpectWords(line, 3, 3, L"user key enter|space CONTROL-ID");
        step.kind = StepKind::Key;
        step.text = line.words[2];
        if (step.text != L"enter" && step.text != L"space")
            throw ScenarioError(line.number, L"expected enter or space, found '" + step.text + L"'");
        step.control = static_cast<int>(hostkit::ParseNumber(line, line.words[3]));
        return step;
    }
    if (action == L"commit") {
        if (wizard)
            throw ScenarioError(line.number, L"a wizard page is left with next, back, first or cancel, not committed");
        hostkit::ExpectWords(line, 1, 1, L"user commit");
        step.kind = StepKind::Commit;
    } else if (action == L"answer") {
        hostkit::ExpectWords(line, 2, 2, L"user answer ok|yes|no|cancel");
        step.kind = StepKind::Answer;
        step.answer = AnswerButton(line, line.words[2]);
    } else if (action == L"click") {
        // With a text: the link of that text in a rich label.
        hostkit::ExpectWords(line, 2, 3, L"user click CONTROL-ID [LINK-TEXT]");
        step.kind = StepKind::Click;
        step.control = control();
        if (line.words.size() > 3)
            step.text = line.words[3];
    } else if (action == L"read") {
        // What the user reads on the current dialog: its caption or a control's text.
        hostkit::ExpectWords(line, 2, 2, L"user read caption|CONTROL-ID");
        step.kind = StepKind::Read;
        if (line.words[2] == L"caption")
            step.text = line.words[2];
        else
            step.control = control();
    } else if (action == L"check" || action == L"clear") {
        step.kind = action == L"check" ? StepKind::Check : StepKind::Clear;
        step.control = control();
        if (line.words.size() > 3)
            step.text = line.words[3];
    } else if (action == L"type" || action == L"select") {
        hostkit::ExpectWords(line, 3, 3, action == L"type" ? L"user type CONTROL-ID TEXT" : L"user select CONTROL-ID TEXT");
        step.kind = action == L"type" ? StepKind::Type : StepKind::Select;
        step.control = control();
        step.text = line.words[3];
    } else {
        throw ScenarioError(line.number, L"unknown user action '" + action + L"' (click, check, clear, type, select, read, answer, key, "
                                         + (wizard ? L"next, back, first, cancel, press-twice)" : L"commit)"));
    }
    return step;
}

}  // namespace

std::vector<Step> ReadSteps(const std::vector<ScenarioLine>& lines, bool wizard)
{
    std::vector<Step> steps;
    for (const ScenarioLine& line : lines)
        steps.push_back(ReadStep(line, wizard));
    return steps;
}

size_t LeavingStepsStart(const std::vector<Step>& steps, bool wizard)
{
    if (steps.empty())
        return 0;
    const StepKind leaving = wizard ? StepKind::Click : StepKind::Commit;
    if (steps.back().kind != leaving)
        return steps.size();
    size_t start = steps.size() - 1;
    while (start > 0 && steps[start - 1].kind == StepKind::Answer)
        --start;
    return start;
}

}  // namespace runner::pages
