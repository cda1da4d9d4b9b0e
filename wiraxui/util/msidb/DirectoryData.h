// One row of a package's Directory table, and where it puts its files: a directory's full target
// path follows its parents up to "TARGETDIR".
#pragma once

#include "util/msidb/MsiReaderWriter.h"

#include <set>

namespace wiraxui::msidb {

constexpr wchar_t kTargetDir[] = L"TARGETDIR";

struct DirectoryData : IMsiReader, IMsiWriter {
    std::wstring directory;
    std::wstring parent;      // empty for a root
    std::wstring defaultDir;  // "[target[:source]]" names, each "short|long" or one name; bound

    MsiResult Read(MSIHANDLE database, const std::wstring& key) override;
    MsiResult Insert(MSIHANDLE database) override;
    // Changes the default folder names and the parent of the row.
    MsiResult Update(MSIHANDLE database) override;
    MsiResult Delete(MSIHANDLE database) override;

    // The folder name this row adds below its parent on the target: the long name of the target
    // part of DefaultDir, or nothing for ".".
    std::wstring TargetName() const;

    // The full target path of key: root (what TARGETDIR stands for) followed by the target names
    // from TARGETDIR down to key, each with a trailing backslash. A chain with a missing row, a
    // cycle, or a root other than TARGETDIR is an error, not an endless search.
    static MsiResult ResolvePath(MSIHANDLE database, const std::wstring& key, const std::wstring& root,
                                 std::wstring& path);

protected:
    const wchar_t* TableName() const override { return L"Directory"; }

private:
    static MsiResult Resolve(MSIHANDLE database, const std::wstring& key, const std::wstring& root,
                             std::set<std::wstring>& visited, std::wstring& path);
};

}  // namespace wiraxui::msidb
