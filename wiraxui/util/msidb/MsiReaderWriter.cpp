#include "util/msidb/MsiReaderWriter.h"

namespace wiraxui::msidb {

MsiResult IMsiWriter::Write(MSIHANDLE database)
{
    MsiResult result;
    {
        struct CheckScope {
            bool& flag;
            ~CheckScope() { flag = false; }
        } scope{m_checkOnly = true};
        result = Insert(database);
    }
    if (!result)
        return result;
    result = Delete(database);
    if (!result)
        return result;
    return Insert(database);
}

MsiResult IMsiWriter::Update(MSIHANDLE) { return NotOffered(L"update"); }

MsiResult IMsiWriter::Delete(MSIHANDLE) { return NotOffered(L"delete"); }

MsiResult IMsiWriter::NotOffered(const wchar_t* operation) const
{
    return MsiResult::Failure(ERROR_CALL_NOT_IMPLEMENTED,
                              std::wstring(L"The ") + TableName() + L" table offers no " + operation + L" here");
}

MsiResult IMsiWriter::Run(MSIHANDLE database, const wchar_t* templateText, std::initializer_list<StatementArg> args,
                          const std::vector<MsiValue>& parameters) const
{
    std::wstring statement;
    MsiResult result = FormatStatement(templateText, args, statement);
    if (!result || m_checkOnly)
        return result;
    return Execute(database, statement, parameters);
}

}  // namespace wiraxui::msidb
