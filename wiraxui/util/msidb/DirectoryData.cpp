#include "util/msidb/DirectoryData.h"

#include "util/msidb/MsiTemplates.h"

namespace wiraxui::msidb {

MsiResult DirectoryData::Read(MSIHANDLE database, const std::wstring& key)
{
    std::wstring statement;
    MsiResult result = FormatStatement(templates::kDirectorySelect, {key}, statement);
    if (!result)
        return result;
    bool found = false;
    DirectoryData row;
    result = Select(database, statement, {}, [&](const MsiRow& fields) {
        found = true;
        row.directory = fields.Text(L"Directory");
        row.parent = fields.Text(L"Directory_Parent");
        row.defaultDir = fields.Text(L"DefaultDir");
        return false;
    });
    if (!result)
        return result;
    if (!found)
        return MsiResult::Failure(ERROR_NOT_FOUND, L"The Directory table has no row " + key);
    directory = std::move(row.directory);
    parent = std::move(row.parent);
    defaultDir = std::move(row.defaultDir);
    return MsiResult::Ok();
}

MsiResult DirectoryData::Insert(MSIHANDLE database)
{
    return Run(database, templates::kDirectoryInsert, {directory, parent}, {MsiValue::Text(defaultDir)});
}

MsiResult DirectoryData::Update(MSIHANDLE database)
{
    return Run(database, templates::kDirectoryUpdate, {parent, directory}, {MsiValue::Text(defaultDir)});
}

MsiResult DirectoryData::Delete(MSIHANDLE database)
{
    return Run(database, templates::kDirectoryDelete, {directory});
}

std::wstring DirectoryData::TargetName() const
{
    std::wstring target = defaultDir.substr(0, defaultDir.find(L':'));
    const size_t bar = target.find(L'|');
    if (bar != std::wstring::npos)
        target = target.substr(bar + 1);
    return target == L"." ? std::wstring() : target;
}

MsiResult DirectoryData::ResolvePath(MSIHANDLE database, const std::wstring& key, const std::wstring& root,
                                     std::wstring& path)
{
    path.clear();
    std::set<std::wstring> visited;
    std::wstring resolved;
    MsiResult result = Resolve(database, key, root, visited, resolved);
    if (result)
        path = std::move(resolved);
    return result;
}

MsiResult DirectoryData::Resolve(MSIHANDLE database, const std::wstring& key, const std::wstring& root,
                                 std::set<std::wstring>& visited, std::wstring& path)
{
    if (key == kTargetDir) {
        path = root;
        if (!path.empty() && path.back() != L'\\')
            path += L'\\';
        return MsiResult::Ok();
    }
    // Each row is visited once: a second visit means the parents run in a circle.
    if (!visited.insert(key).second)
        return MsiResult::Failure(ERROR_INVALID_DATA, L"The parents of directory " + key + L" run in a circle");
    DirectoryData row;
    MsiResult result = row.Read(database, key);
    if (result.code == ERROR_NOT_FOUND)
        return MsiResult::Failure(ERROR_NOT_FOUND, L"Directory " + key + L" is missing from the Directory table");
    if (!result)
        return result;
    if (row.parent.empty() || row.parent == key)
        return MsiResult::Failure(ERROR_INVALID_DATA, L"Directory " + key + L" is a root other than TARGETDIR");
    result = Resolve(database, row.parent, root, visited, path);
    if (!result)
        return result;
    const std::wstring name = row.TargetName();
    if (!name.empty())
        path += name + L'\\';
    return MsiResult::Ok();
}

}  // namespace wiraxui::msidb
