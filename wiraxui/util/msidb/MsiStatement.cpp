#include "util/msidb/MsiStatement.h"

#include <cwctype>

namespace wiraxui::msidb {

namespace {

bool IsIdentifier(const std::wstring& text)
{
    if (text.empty())
        return false;
    for (wchar_t c : text) {
        const bool plain = (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') ||
                           c == L'_' || c == L'.';
        if (!plain)
            return false;
    }
    return true;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

MsiResult Refuse(const std::wstring& why, const wchar_t* templateText)
{
    return MsiResult::Failure(ERROR_INVALID_DATA, why + L" in: " + templateText);
}

std::wstring Describe(UINT code, const std::wstring& statement)
{
    std::wstring text = L"Installer error " + std::to_wstring(code) + L" for: " + statement;
    // The engine may say more about the last failure.
    CMsiHandle last(MsiGetLastErrorRecord());
    if (last) {
        wchar_t buffer[512] = L"";
        DWORD size = 512;
        if (MsiFormatRecordW(0, last.Get(), buffer, &size) == ERROR_SUCCESS && buffer[0])
            text += L" (" + std::wstring(buffer) + L")";
    }
    return text;
}

MsiResult OpenView(MSIHANDLE database, const std::wstring& statement, const std::vector<MsiValue>& parameters,
                   CMsiHandle& view)
{
    if (!database)
        return MsiResult::Failure(ERROR_INVALID_HANDLE, L"No database is open for: " + statement);
    UINT result = MsiDatabaseOpenViewW(database, statement.c_str(), view.Receive());
    if (result != ERROR_SUCCESS)
        return MsiResult::Failure(result, Describe(result, statement));
    CMsiHandle record;
    if (!parameters.empty()) {
        record.Reset(MsiCreateRecord(static_cast<UINT>(parameters.size())));
        if (!record)
            return MsiResult::Failure(ERROR_OUTOFMEMORY, L"No record for the values of: " + statement);
        UINT field = 1;
        for (const MsiValue& value : parameters) {
            switch (value.GetKind()) {
            case MsiValue::Kind::Text:
                result = MsiRecordSetStringW(record.Get(), field, value.GetText().c_str());
                break;
            case MsiValue::Kind::Number:
                result = MsiRecordSetInteger(record.Get(), field, value.GetNumber());
                break;
            case MsiValue::Kind::Null:
                result = ERROR_SUCCESS;  // a fresh record's fields are null
                break;
            }
            if (result != ERROR_SUCCESS)
                return MsiResult::Failure(result, Describe(result, statement));
            ++field;
        }
    }
    result = MsiViewExecute(view.Get(), record.Get());
    if (result != ERROR_SUCCESS)
        return MsiResult::Failure(result, Describe(result, statement));
    return MsiResult::Ok();
}

}  // namespace

StatementArg StatementArg::Markers(size_t count)
{
    std::wstring list;
    for (size_t index = 0; index < count; ++index)
        list += index ? L", ?" : L"?";
    return StatementArg(Kind::Markers, list);
}

MsiResult FormatStatement(const wchar_t* templateText, std::initializer_list<StatementArg> args, std::wstring& statement)
{
    statement.clear();
    std::wstring out;
    auto next = args.begin();
    for (const wchar_t* p = templateText; *p; ++p) {
        if (*p != L'%' || (p[1] != L's' && p[1] != L'd')) {
            out += *p;
            continue;
        }
        if (next == args.end())
            return Refuse(L"Too few values", templateText);
        const StatementArg& arg = *next++;
        const wchar_t before = p == templateText ? L'\0' : p[-1];
        if (p[1] == L'd') {
            if (arg.m_kind != StatementArg::Kind::Number)
                return Refuse(L"A number is expected where " + Quoted(arg.m_text) + L" is given", templateText);
            out += std::to_wstring(arg.m_number);
        } else if (before == L'\'') {
            if (arg.m_kind != StatementArg::Kind::Text)
                return Refuse(L"A text is expected where a number or a list is given", templateText);
            if (arg.m_text.find(L'\'') != std::wstring::npos || arg.m_text.find(L'\0') != std::wstring::npos)
                return Refuse(L"The value " + Quoted(arg.m_text) + L" would end its quotes", templateText);
            out += arg.m_text;
        } else if (before == L'`') {
            if (arg.m_kind != StatementArg::Kind::Text || !IsIdentifier(arg.m_text))
                return Refuse(L"The name " + Quoted(arg.m_text) + L" is not a plain table name", templateText);
            out += arg.m_text;
        } else {
            if (arg.m_kind != StatementArg::Kind::Markers)
                return Refuse(L"Only bound values may fill an unquoted place", templateText);
            out += arg.m_text;
        }
        ++p;
    }
    if (next != args.end())
        return Refuse(L"Too many values", templateText);
    statement = std::move(out);
    return MsiResult::Ok();
}

MsiResult Execute(MSIHANDLE database, const std::wstring& statement, const std::vector<MsiValue>& parameters)
{
    CMsiHandle view;
    MsiResult result = OpenView(database, statement, parameters, view);
    if (view)
        MsiViewClose(view.Get());
    return result;
}

MsiResult Select(MSIHANDLE database, const std::wstring& statement, const std::vector<MsiValue>& parameters,
                 const std::function<bool(const MsiRow& row)>& onRow)
{
    CMsiHandle view;
    MsiResult result = OpenView(database, statement, parameters, view);
    if (!result)
        return result;
    std::vector<std::wstring> columns;
    CMsiHandle names;
    if (MsiViewGetColumnInfo(view.Get(), MSICOLINFO_NAMES, names.Receive()) == ERROR_SUCCESS) {
        const UINT count = MsiRecordGetFieldCount(names.Get());
        const MsiRow header(names.Get(), columns);
        for (UINT field = 1; field <= count; ++field)
            columns.push_back(header.Text(field));
    }
    for (;;) {
        CMsiHandle record;
        const UINT fetched = MsiViewFetch(view.Get(), record.Receive());
        if (fetched == ERROR_NO_MORE_ITEMS)
            break;
        if (fetched != ERROR_SUCCESS) {
            result = MsiResult::Failure(fetched, Describe(fetched, statement));
            break;
        }
        if (!onRow(MsiRow(record.Get(), columns)))
            break;
    }
    MsiViewClose(view.Get());
    return result;
}

std::wstring MsiRow::Text(UINT field) const
{
    if (field == 0 || MsiRecordIsNull(m_record, field))
        return std::wstring();
    DWORD size = 0;
    wchar_t empty[1] = L"";
    UINT result = MsiRecordGetStringW(m_record, field, empty, &size);
    if (result != ERROR_MORE_DATA && result != ERROR_SUCCESS)
        return std::wstring();
    if (result == ERROR_SUCCESS && size == 0)
        return std::wstring();
    std::wstring text(size + 1, L'\0');
    DWORD capacity = size + 1;
    if (MsiRecordGetStringW(m_record, field, text.data(), &capacity) != ERROR_SUCCESS)
        return std::wstring();
    text.resize(capacity);
    return text;
}

std::optional<int> MsiRow::Number(UINT field) const
{
    if (field == 0 || MsiRecordIsNull(m_record, field))
        return std::nullopt;
    const int number = MsiRecordGetInteger(m_record, field);
    if (number == static_cast<int>(MSI_NULL_INTEGER))
        return std::nullopt;
    return number;
}

bool MsiRow::IsNull(UINT field) const { return field == 0 || MsiRecordIsNull(m_record, field); }

UINT MsiRow::FieldOf(const std::wstring& column) const
{
    for (size_t index = 0; index < m_columns.size(); ++index) {
        if (m_columns[index] == column)
            return static_cast<UINT>(index + 1);
    }
    return 0;
}

}  // namespace wiraxui::msidb
