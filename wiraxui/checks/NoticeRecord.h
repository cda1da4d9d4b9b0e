// The record a notice export fills for the host: a kind and four texts of fixed size. It holds no
// pointer, so its layout is the same in every build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace wiraxui {

constexpr size_t kNoticeTextChars = 1024;

struct NoticeRecord {
    int32_t kind;  // 0: nothing to show, 1: show the notice
    wchar_t firstText[kNoticeTextChars];  // the host's own; never written here
    wchar_t message[kNoticeTextChars];
    wchar_t linkTitle[kNoticeTextChars];
    wchar_t link[kNoticeTextChars];
};

static_assert(sizeof(wchar_t) == 2, "the host's texts are UTF-16");
static_assert(offsetof(NoticeRecord, firstText) == 4, "notice record layout");
static_assert(offsetof(NoticeRecord, message) == 2052, "notice record layout");
static_assert(offsetof(NoticeRecord, linkTitle) == 4100, "notice record layout");
static_assert(offsetof(NoticeRecord, link) == 6148, "notice record layout");
static_assert(sizeof(NoticeRecord) == 8196, "notice record layout");

constexpr int32_t kNoticeNothing = 0;
constexpr int32_t kNoticeShow = 1;

// Copies text into a field, cut to 1023 characters and terminated.
void CopyNoticeText(wchar_t (&field)[kNoticeTextChars], const std::wstring& text);

// A notice parameter cut at every ";", each piece trimmed of white space. Empty pieces between
// two separators count; an empty last piece (the parameter ends with ";", or is empty) does not.
std::vector<std::wstring> SplitNoticeParameter(const std::wstring& parameter);

// Whether text begins with prefix, with or without regard to case.
bool BeginsWith(const std::wstring& text, const wchar_t* prefix);
bool BeginsWithIgnoringCase(const std::wstring& text, const wchar_t* prefix);

}  // namespace wiraxui
