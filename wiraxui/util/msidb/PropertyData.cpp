#include "util/msidb/PropertyData.h"

#include "util/msidb/MsiDatabase.h"
#include "util/msidb/MsiTemplates.h"

namespace wiraxui::msidb {

MsiResult PropertyData::Read(MSIHANDLE database, const std::wstring& key)
{
    std::wstring statement;
    MsiResult result = FormatStatement(templates::kPropertySelect, {table, key}, statement);
    if (!result)
        return result;
    bool found = false;
    std::wstring text;
    result = Select(database, statement, {}, [&](const MsiRow& row) {
        found = true;
        text = row.Text(1);
        return false;
    });
    if (!result)
        return result;
    if (!found)
        return MsiResult::Failure(ERROR_NOT_FOUND, L"The " + table + L" table has no property " + key);
    property = key;
    value = std::move(text);
    return MsiResult::Ok();
}

MsiResult PropertyData::Write(MSIHANDLE database)
{
    if (value.empty())
        return Delete(database);
    // The database keeps its strings in its code page: characters that page lacks would be
    // changed without a word when the database is saved.
    int codepage = 0;
    if (ReadCodepage(database, codepage) && !FitsCodepage(value, codepage))
        return MsiResult::Failure(ERROR_NO_UNICODE_TRANSLATION, L"The value of " + property +
                                                                    L" has characters that code page " +
                                                                    std::to_wstring(codepage) + L" of the database cannot hold");
    PropertyData previous;
    const bool existed = previous.Read(database, property).Succeeded();
    MsiResult result = IMsiWriter::Write(database);
    if (!result && existed)
        previous.Insert(database);
    return result;
}

MsiResult PropertyData::Insert(MSIHANDLE database)
{
    return Run(database, templates::kPropertyInsert, {property}, {MsiValue::Text(value)});
}

MsiResult PropertyData::Delete(MSIHANDLE database) { return Run(database, templates::kPropertyDelete, {property}); }

}  // namespace wiraxui::msidb
