// Packages for the database unit's tests: a fresh database with the tables the unit edits, made
// and read back with msi.dll's own calls, so that what the unit wrote is seen as the installer
// sees it.
#pragma once

#include "UtilTestSupport.h"

#include <msi.h>
#include <msiquery.h>

#include <string>
#include <vector>

namespace msidbtest {

using Row = std::vector<std::wstring>;

// A message for an assertion: non-ASCII characters as '?'.
inline std::string Narrow(const std::wstring& text)
{
    std::string result;
    for (wchar_t c : text)
        result += c < 128 ? static_cast<char>(c) : '?';
    return result;
}

class RawHandle {
public:
    RawHandle() = default;
    ~RawHandle()
    {
        if (m_handle)
            MsiCloseHandle(m_handle);
    }
    RawHandle(const RawHandle&) = delete;
    RawHandle& operator=(const RawHandle&) = delete;
    MSIHANDLE* Receive() { return &m_handle; }
    MSIHANDLE Get() const { return m_handle; }

private:
    MSIHANDLE m_handle = 0;
};

// Every row of a query, each field as the installer gives it as text (numbers in decimal, null
// fields empty).
inline std::vector<Row> Rows(MSIHANDLE database, const std::wstring& query)
{
    std::vector<Row> rows;
    RawHandle view;
    if (MsiDatabaseOpenViewW(database, query.c_str(), view.Receive()) != ERROR_SUCCESS ||
        MsiViewExecute(view.Get(), 0) != ERROR_SUCCESS) {
        ADD_FAILURE() << "query failed";
        return rows;
    }
    for (;;) {
        RawHandle record;
        if (MsiViewFetch(view.Get(), record.Receive()) != ERROR_SUCCESS)
            break;
        Row row;
        const UINT count = MsiRecordGetFieldCount(record.Get());
        for (UINT field = 1; field <= count; ++field) {
            wchar_t text[1024] = L"";
            DWORD size = 1024;
            MsiRecordGetStringW(record.Get(), field, text, &size);
            row.emplace_back(text);
        }
        rows.push_back(std::move(row));
    }
    MsiViewClose(view.Get());
    return rows;
}

inline bool RunStatement(MSIHANDLE database, const wchar_t* statement)
{
    RawHandle view;
    const bool done = MsiDatabaseOpenViewW(database, statement, view.Receive()) == ERROR_SUCCESS &&
                      MsiViewExecute(view.Get(), 0) == ERROR_SUCCESS;
    if (view.Get())
        MsiViewClose(view.Get());
    return done;
}

// The installer's own schema of the tables the unit edits, and the product line's file table.
constexpr const wchar_t* kSchema[] = {
    L"CREATE TABLE `Property` (`Property` CHAR(72) NOT NULL, `Value` LONGCHAR NOT NULL LOCALIZABLE PRIMARY KEY `Property`)",
    L"CREATE TABLE `Component` (`Component` CHAR(72) NOT NULL, `ComponentId` CHAR(38), `Directory_` CHAR(72) NOT NULL, "
    L"`Attributes` SHORT NOT NULL, `Condition` CHAR(255), `KeyPath` CHAR(72) PRIMARY KEY `Component`)",
    L"CREATE TABLE `CreateFolder` (`Directory_` CHAR(72) NOT NULL, `Component_` CHAR(72) NOT NULL "
    L"PRIMARY KEY `Directory_`, `Component_`)",
    L"CREATE TABLE `Directory` (`Directory` CHAR(72) NOT NULL, `Directory_Parent` CHAR(72), `DefaultDir` CHAR(255) "
    L"NOT NULL LOCALIZABLE PRIMARY KEY `Directory`)",
    L"CREATE TABLE `Feature` (`Feature` CHAR(38) NOT NULL, `Feature_Parent` CHAR(38), `Title` CHAR(64) LOCALIZABLE, "
    L"`Description` CHAR(255) LOCALIZABLE, `Display` SHORT, `Level` SHORT NOT NULL, `Directory_` CHAR(72), "
    L"`Attributes` SHORT NOT NULL PRIMARY KEY `Feature`)",
    L"CREATE TABLE `FeatureComponents` (`Feature_` CHAR(38) NOT NULL, `Component_` CHAR(72) NOT NULL "
    L"PRIMARY KEY `Feature_`, `Component_`)",
    L"CREATE TABLE `File` (`File` CHAR(72) NOT NULL, `Component_` CHAR(72) NOT NULL, `FileName` CHAR(255) NOT NULL "
    L"LOCALIZABLE, `FileSize` LONG NOT NULL, `Version` CHAR(72), `Language` CHAR(20), `Attributes` SHORT, "
    L"`Sequence` LONG NOT NULL PRIMARY KEY `File`)",
    L"CREATE TABLE `Media` (`DiskId` SHORT NOT NULL, `LastSequence` LONG NOT NULL, `DiskPrompt` CHAR(64) LOCALIZABLE, "
    L"`Cabinet` CHAR(255), `VolumeLabel` CHAR(32), `Source` CHAR(72) PRIMARY KEY `DiskId`)",
    L"CREATE TABLE `Shortcut` (`Shortcut` CHAR(72) NOT NULL, `Directory_` CHAR(72) NOT NULL, `Name` CHAR(128) NOT NULL "
    L"LOCALIZABLE, `Component_` CHAR(72) NOT NULL, `Target` CHAR(72) NOT NULL, `Arguments` CHAR(255), "
    L"`Description` CHAR(255) LOCALIZABLE, `Hotkey` SHORT, `Icon_` CHAR(72), `IconIndex` SHORT, `ShowCmd` SHORT, "
    L"`WkDir` CHAR(72) PRIMARY KEY `Shortcut`)",
    L"CREATE TABLE `TrvnCustomFile` (`SourceFileName` CHAR(255) NOT NULL, `Component_` CHAR(72) NOT NULL, "
    L"`Flags` LONG PRIMARY KEY `Component_`)",
    L"CREATE TABLE `CustomAction` (`Action` CHAR(72) NOT NULL, `Type` SHORT NOT NULL, `Source` CHAR(72), "
    L"`Target` CHAR(255) PRIMARY KEY `Action`)",
    L"CREATE TABLE `InstallExecuteSequence` (`Action` CHAR(72) NOT NULL, `Condition` CHAR(255), `Sequence` SHORT "
    L"PRIMARY KEY `Action`)",
    L"CREATE TABLE `Registry` (`Registry` CHAR(72) NOT NULL, `Root` SHORT NOT NULL, `Key` CHAR(255) NOT NULL "
    L"LOCALIZABLE, `Name` CHAR(255) LOCALIZABLE, `Value` LONGCHAR LOCALIZABLE, `Component_` CHAR(72) NOT NULL "
    L"PRIMARY KEY `Registry`)",
    L"CREATE TABLE `MsiPatchMetadata` (`Company` CHAR(72), `Property` CHAR(72) NOT NULL, `Value` LONGCHAR NOT NULL "
    L"PRIMARY KEY `Company`, `Property`)",
};

// A package file in a scratch folder with every table of kSchema, committed and closed.
class ScratchPackage {
public:
    explicit ScratchPackage(const wchar_t* name = L"unit.msi") : m_folder(L"msidb"), m_path(m_folder / name)
    {
        RawHandle database;
        EXPECT_EQ(MsiOpenDatabaseW(m_path.c_str(), MSIDBOPEN_CREATE, database.Receive()), 0u);
        for (const wchar_t* table : kSchema)
            EXPECT_TRUE(RunStatement(database.Get(), table)) << "schema";
        EXPECT_EQ(MsiDatabaseCommit(database.Get()), 0u);
    }
    const std::wstring& Path() const { return m_path; }
    const hostkit::ScratchFolder& Folder() const { return m_folder; }

private:
    hostkit::ScratchFolder m_folder;
    std::wstring m_path;
};

}  // namespace msidbtest
