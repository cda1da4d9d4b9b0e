// What the SQL Server page accepts as a server name and as a database name.
#pragma once

#include <string>

namespace wiraxui {

// A host name, optionally followed by a backslash and an instance name: not empty, not a drive
// root, and neither the part before the first backslash nor the part after the last one holds
// ":" or "\".
bool IsValidSqlServerName(const std::wstring& server);

// Not empty, and neither ":" nor "\" in it.
bool IsValidSqlDatabaseName(const std::wstring& name);

}  // namespace wiraxui
