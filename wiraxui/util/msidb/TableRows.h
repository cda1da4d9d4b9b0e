// Row records of the installer tables the unit edits. Each offers the statements its table has
// (see MsiTemplates.h); the key columns name the row that an update or delete acts on.
#pragma once

#include "util/msidb/MsiReaderWriter.h"

#include <string>
#include <utility>
#include <vector>

namespace wiraxui::msidb {

struct ComponentData : IMsiWriter {
    std::wstring component;
    std::wstring componentId;
    std::wstring directory;
    int attributes = 0;
    std::wstring condition;
    std::wstring keyPath;

    MsiResult Insert(MSIHANDLE database) override;
    MsiResult Update(MSIHANDLE database) override;
    MsiResult Delete(MSIHANDLE database) override;

protected:
    const wchar_t* TableName() const override { return L"Component"; }
};

struct CreateFolderData : IMsiWriter {
    std::wstring directory;
    std::wstring component;

    MsiResult Insert(MSIHANDLE database) override;
    MsiResult Delete(MSIHANDLE database) override;

protected:
    const wchar_t* TableName() const override { return L"CreateFolder"; }
};

struct FeatureData : IMsiWriter {
    std::wstring feature;
    std::wstring parent;
    std::wstring title;
    std::wstring description;
    int display = 0;
    int level = 1;
    std::wstring directory;
    int attributes = 0;

    MsiResult Insert(MSIHANDLE database) override;
    MsiResult Update(MSIHANDLE database) override;

protected:
    const wchar_t* TableName() const override { return L"Feature"; }
};

struct FeatureComponentsData : IMsiWriter {
    std::wstring feature;
    std::wstring component;

    MsiResult Insert(MSIHANDLE database) override;
    MsiResult Delete(MSIHANDLE database) override;

protected:
    const wchar_t* TableName() const override { return L"FeatureComponents"; }
};

struct FileData : IMsiWriter {
    std::wstring file;
    std::wstring component;
    std::wstring fileName;  // bound: "short|long" names may hold any character
    int fileSize = 0;
    std::wstring version;
    std::wstring language;
    int attributes = 0;
    int sequence = 1;

    MsiResult Insert(MSIHANDLE database) override;
    MsiResult Delete(MSIHANDLE database) override;

protected:
    const wchar_t* TableName() const override { return L"File"; }
};

struct MediaData : IMsiWriter {
    int diskId = 1;
    int lastSequence = 0;
    std::wstring diskPrompt;
    std::wstring volumeLabel;
    std::wstring source;

    MsiResult Insert(MSIHANDLE database) override;
    MsiResult Update(MSIHANDLE database) override;
    MsiResult Delete(MSIHANDLE database) override;

protected:
    const wchar_t* TableName() const override { return L"Media"; }
};

struct ShortcutData : IMsiWriter {
    std::wstring shortcut;
    std::wstring directory;
    std::wstring name;  // bound
    std::wstring component;
    std::wstring target;
    std::wstring arguments;
    std::wstring description;
    std::wstring icon;
    std::wstring workingDirectory;

    MsiResult Insert(MSIHANDLE database) override;
    // Changes the name and the arguments of the shortcut.
    MsiResult Update(MSIHANDLE database) override;
    MsiResult Delete(MSIHANDLE database) override;

protected:
    const wchar_t* TableName() const override { return L"Shortcut"; }
};

// The product line's own table of files that a custom action places; one row per component.
struct CustomFileData : IMsiWriter {
    std::wstring sourceFileName;  // bound
    std::wstring component;
    int flags = 0;

    MsiResult Insert(MSIHANDLE database) override;
    MsiResult Update(MSIHANDLE database) override;
    MsiResult Delete(MSIHANDLE database) override;

protected:
    const wchar_t* TableName() const override { return L"TrvnCustomFile"; }
};

struct CustomActionData : IMsiWriter {
    std::wstring action;
    int type = 0;
    std::wstring source;
    std::wstring target;

    MsiResult Insert(MSIHANDLE database) override;
    MsiResult Update(MSIHANDLE database) override;
    MsiResult Delete(MSIHANDLE database) override;

protected:
    const wchar_t* TableName() const override { return L"CustomAction"; }
};

struct ExecuteSequenceData : IMsiWriter {
    std::wstring action;
    std::wstring condition;
    int sequence = 0;

    MsiResult Insert(MSIHANDLE database) override;
    MsiResult Update(MSIHANDLE database) override;
    MsiResult Delete(MSIHANDLE database) override;

protected:
    const wchar_t* TableName() const override { return L"InstallExecuteSequence"; }
};

// A registry row; the table is only ever added to, with every value bound.
struct RegistryData : IMsiWriter {
    std::wstring registry;
    int root = 0;
    std::wstring key;
    std::wstring name;
    std::wstring value;
    std::wstring component;

    MsiResult Insert(MSIHANDLE database) override;

    // Key and component of every row that writes an "UninstallString" value.
    static MsiResult UninstallStringKeys(MSIHANDLE database, std::vector<std::pair<std::wstring, std::wstring>>& rows);

protected:
    const wchar_t* TableName() const override { return L"Registry"; }
};

// Tables that also take a whole row of values in column order, every one of them bound.
enum class ValuesTable { Component, Feature, FeatureComponents, Registry };
MsiResult InsertValues(MSIHANDLE database, ValuesTable table, const std::vector<MsiValue>& values);

}  // namespace wiraxui::msidb
