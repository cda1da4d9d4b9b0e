// A property of a package. Reading works on any table of Property/Value rows (the patch metadata
// table "MsiPatchMetadata" has its "TargetProductName" and "DisplayName" there); writing goes to
// the package's Property table, the value always bound so that it needs no escaping.
#pragma once

#include "util/msidb/MsiReaderWriter.h"

namespace wiraxui::msidb {

struct PropertyData : IMsiReader, IMsiWriter {
    std::wstring property;
    std::wstring value;
    std::wstring table = L"Property";  // the table Read looks in

    PropertyData() = default;
    PropertyData(std::wstring name, std::wstring text) : property(std::move(name)), value(std::move(text)) {}

    // Sets property and value from the row; ERROR_NOT_FOUND when the table has no such row.
    MsiResult Read(MSIHANDLE database, const std::wstring& key) override;
    // Delete, then insert with the new value; an empty value leaves the property removed, since
    // the table keeps no empty values. A value with characters the database's code page lacks
    // is refused (ERROR_NO_UNICODE_TRANSLATION); should the insert fail, the old row is put back.
    MsiResult Write(MSIHANDLE database) override;
    MsiResult Insert(MSIHANDLE database) override;
    // Same as Write: delete the row, insert it again with the new value.
    MsiResult Update(MSIHANDLE database) override { return Write(database); }
    MsiResult Delete(MSIHANDLE database) override;

protected:
    const wchar_t* TableName() const override { return L"Property"; }
};

}  // namespace wiraxui::msidb
