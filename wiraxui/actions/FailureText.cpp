#include "actions/FailureText.h"

#include <windows.h>

#include <iterator>

namespace wiraxui::actions {

namespace {
constexpr size_t kLongestName = 300;
}  // namespace

std::wstring OneLine(const std::wstring& text)
{
    std::wstring line;
    for (size_t i = 0; i < text.size() && i < kLongestName; ++i)
        line += text[i] < 0x20 || text[i] == 0x7F ? L'?' : text[i];
    if (text.size() > kLongestName)
        line += L"...";
    return line;
}

std::wstring SystemErrorText(unsigned long error)
{
    std::wstring text = L"system error " + std::to_wstring(error);
    wchar_t message[512] = L"";
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, message,
                                        static_cast<DWORD>(std::size(message)), nullptr);
    std::wstring words(message, length < std::size(message) ? length : 0);
    while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n' || words.back() == L' '))
        words.pop_back();
    if (!words.empty())
        text += L": " + OneLine(words);
    return text;
}

std::wstring UnpackFailureText(const std::wstring& archive, const std::wstring& destination, const UnpackFailure& failure)
{
    std::wstring text = L"could not unpack " + archive + L" into " + destination + L": ";
    if (!failure.entry.empty())
        text += L"entry \"" + OneLine(failure.entry) + L"\": ";
    text += failure.reason.empty() ? std::wstring(L"unknown reason") : std::wstring(failure.reason.begin(), failure.reason.end());
    if (failure.systemError != 0)
        text += L" (" + SystemErrorText(failure.systemError) + L")";
    return text;
}

}  // namespace wiraxui::actions
