// Statements on an installer database: the outcome of a step, values bound to a statement's '?'
// markers, and the filling of a statement template's %s and %d.
//
// Installer SQL has no escape for a quote inside a quoted literal. A value that goes between
// quotes is therefore checked, not escaped: one that would end its quotes is refused and the
// statement is never run. Table and column names stay as the templates give them; a table name
// filled into a template must be a plain identifier.
#pragma once

#include "util/msidb/MsiHandle.h"

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace wiraxui::msidb {

// What one step of the unit did: ERROR_SUCCESS, or an installer or Windows error code with a
// sentence saying what failed.
struct MsiResult {
    UINT code = ERROR_SUCCESS;
    std::wstring message;

    static MsiResult Ok() { return {}; }
    static MsiResult Failure(UINT code, std::wstring message) { return {code == ERROR_SUCCESS ? ERROR_FUNCTION_FAILED : code, std::move(message)}; }
    bool Succeeded() const { return code == ERROR_SUCCESS; }
    explicit operator bool() const { return Succeeded(); }
};

// A value bound to a '?' of a statement, or read from a record.
class MsiValue {
public:
    enum class Kind { Null, Text, Number };

    MsiValue() = default;
    static MsiValue Text(std::wstring text) { return MsiValue(Kind::Text, std::move(text), 0); }
    static MsiValue Number(int number) { return MsiValue(Kind::Number, std::wstring(), number); }
    static MsiValue Null() { return MsiValue(); }

    Kind GetKind() const { return m_kind; }
    const std::wstring& GetText() const { return m_text; }
    int GetNumber() const { return m_number; }
    bool operator==(const MsiValue& other) const
    {
        return m_kind == other.m_kind && m_text == other.m_text && m_number == other.m_number;
    }

private:
    MsiValue(Kind kind, std::wstring text, int number) : m_kind(kind), m_text(std::move(text)), m_number(number) {}
    Kind m_kind = Kind::Null;
    std::wstring m_text;
    int m_number = 0;
};

// One argument for a template's next %s or %d.
class StatementArg {
public:
    StatementArg(const std::wstring& text) : m_kind(Kind::Text), m_text(text) {}
    StatementArg(const wchar_t* text) : m_kind(Kind::Text), m_text(text ? text : L"") {}
    StatementArg(int number) : m_kind(Kind::Number), m_number(number) {}
    // n '?' markers separated by commas, for a template whose %s is a whole list of values.
    static StatementArg Markers(size_t count);

private:
    friend MsiResult FormatStatement(const wchar_t*, std::initializer_list<StatementArg>, std::wstring&);
    enum class Kind { Text, Number, Markers };
    explicit StatementArg(Kind kind, std::wstring text) : m_kind(kind), m_text(std::move(text)) {}
    Kind m_kind;
    std::wstring m_text;
    int m_number = 0;
};

// Fills the template's %s and %d in order. A %s between single quotes takes any text without a
// single quote or a null character; a %s between back quotes takes a plain identifier (letters,
// digits, '_' and '.'); any other %s takes only Markers(). Refuses (nothing in statement) a value
// that does not fit its place, and a count of arguments that differs from the template's.
MsiResult FormatStatement(const wchar_t* templateText, std::initializer_list<StatementArg> args, std::wstring& statement);

// Runs a statement that returns no rows, with values bound to its '?' markers in order.
MsiResult Execute(MSIHANDLE database, const std::wstring& statement, const std::vector<MsiValue>& parameters = {});

// One fetched row of a query, its fields by number (from 1) or by column name.
class MsiRow {
public:
    MsiRow(MSIHANDLE record, const std::vector<std::wstring>& columns) : m_record(record), m_columns(columns) {}
    // Text of any size; empty for a null field or an unknown column.
    std::wstring Text(UINT field) const;
    std::wstring Text(const std::wstring& column) const { return Text(FieldOf(column)); }
    // Nothing for a null field, an unknown column or a field that holds no number.
    std::optional<int> Number(UINT field) const;
    std::optional<int> Number(const std::wstring& column) const { return Number(FieldOf(column)); }
    bool IsNull(UINT field) const;
    UINT FieldCount() const { return static_cast<UINT>(m_columns.size()); }

private:
    UINT FieldOf(const std::wstring& column) const;
    MSIHANDLE m_record;
    const std::vector<std::wstring>& m_columns;
};

// Runs a query and hands each fetched row to onRow, which answers false to stop early.
MsiResult Select(MSIHANDLE database, const std::wstring& statement, const std::vector<MsiValue>& parameters,
                 const std::function<bool(const MsiRow& row)>& onRow);

}  // namespace wiraxui::msidb
