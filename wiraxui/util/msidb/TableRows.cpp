#include "util/msidb/TableRows.h"

#include "util/msidb/MsiTemplates.h"

namespace wiraxui::msidb {

using namespace templates;

MsiResult ComponentData::Insert(MSIHANDLE database)
{
    return Run(database, kComponentInsert, {component, componentId, directory, attributes, condition, keyPath});
}

MsiResult ComponentData::Update(MSIHANDLE database)
{
    return Run(database, kComponentUpdate, {componentId, directory, attributes, condition, keyPath, component});
}

MsiResult ComponentData::Delete(MSIHANDLE database) { return Run(database, kComponentDelete, {component}); }

MsiResult CreateFolderData::Insert(MSIHANDLE database)
{
    return Run(database, kCreateFolderInsert, {directory, component});
}

MsiResult CreateFolderData::Delete(MSIHANDLE database)
{
    return Run(database, kCreateFolderDelete, {directory, component});
}

MsiResult FeatureData::Insert(MSIHANDLE database)
{
    return Run(database, kFeatureInsert, {feature, parent, title, description, display, level, directory, attributes});
}

MsiResult FeatureData::Update(MSIHANDLE database)
{
    return Run(database, kFeatureUpdate, {parent, title, description, display, level, directory, attributes, feature});
}

MsiResult FeatureComponentsData::Insert(MSIHANDLE database)
{
    return Run(database, kFeatureComponentsInsert, {feature, component});
}

MsiResult FeatureComponentsData::Delete(MSIHANDLE database)
{
    return Run(database, kFeatureComponentsDelete, {feature, component});
}

MsiResult FileData::Insert(MSIHANDLE database)
{
    return Run(database, kFileInsert, {file, component, fileSize, version, language, attributes, sequence},
               {MsiValue::Text(fileName)});
}

MsiResult FileData::Delete(MSIHANDLE database) { return Run(database, kFileDelete, {file}); }

MsiResult MediaData::Insert(MSIHANDLE database)
{
    return Run(database, kMediaInsert, {diskId, lastSequence, diskPrompt, volumeLabel, source});
}

MsiResult MediaData::Update(MSIHANDLE database)
{
    return Run(database, kMediaUpdate, {lastSequence, diskPrompt, volumeLabel, source, diskId});
}

MsiResult MediaData::Delete(MSIHANDLE database) { return Run(database, kMediaDelete, {diskId}); }

MsiResult ShortcutData::Insert(MSIHANDLE database)
{
    return Run(database, kShortcutInsert,
               {shortcut, directory, component, target, arguments, description, icon, workingDirectory},
               {MsiValue::Text(name)});
}

MsiResult ShortcutData::Update(MSIHANDLE database)
{
    return Run(database, kShortcutUpdate, {arguments, shortcut}, {MsiValue::Text(name)});
}

MsiResult ShortcutData::Delete(MSIHANDLE database) { return Run(database, kShortcutDelete, {shortcut}); }

MsiResult CustomFileData::Insert(MSIHANDLE database)
{
    return Run(database, kCustomFileInsert, {component, flags}, {MsiValue::Text(sourceFileName)});
}

MsiResult CustomFileData::Update(MSIHANDLE database)
{
    return Run(database, kCustomFileUpdate, {flags, component}, {MsiValue::Text(sourceFileName)});
}

MsiResult CustomFileData::Delete(MSIHANDLE database) { return Run(database, kCustomFileDelete, {component}); }

MsiResult CustomActionData::Insert(MSIHANDLE database)
{
    return Run(database, kCustomActionInsert, {action, type, source, target});
}

MsiResult CustomActionData::Update(MSIHANDLE database)
{
    return Run(database, kCustomActionUpdate, {type, source, target, action});
}

MsiResult CustomActionData::Delete(MSIHANDLE database) { return Run(database, kCustomActionDelete, {action}); }

MsiResult ExecuteSequenceData::Insert(MSIHANDLE database)
{
    return Run(database, kExecuteSequenceInsert, {action, condition, sequence});
}

MsiResult ExecuteSequenceData::Update(MSIHANDLE database)
{
    // This update's template quotes the sequence as text.
    return Run(database, kExecuteSequenceUpdate, {condition, std::to_wstring(sequence), action});
}

MsiResult ExecuteSequenceData::Delete(MSIHANDLE database)
{
    return Run(database, kExecuteSequenceDelete, {action});
}

MsiResult RegistryData::Insert(MSIHANDLE database)
{
    return Run(database, kRegistryInsertValues, {StatementArg::Markers(6)},
               {MsiValue::Text(registry), MsiValue::Number(root), MsiValue::Text(key), MsiValue::Text(name),
                MsiValue::Text(value), MsiValue::Text(component)});
}

MsiResult RegistryData::UninstallStringKeys(MSIHANDLE database, std::vector<std::pair<std::wstring, std::wstring>>& rows)
{
    rows.clear();
    return Select(database, kRegistryUninstallString, {}, [&](const MsiRow& row) {
        rows.emplace_back(row.Text(1), row.Text(2));
        return true;
    });
}

MsiResult InsertValues(MSIHANDLE database, ValuesTable table, const std::vector<MsiValue>& values)
{
    const wchar_t* templateText = nullptr;
    size_t columns = 0;
    switch (table) {
    case ValuesTable::Component:
        templateText = kComponentInsertValues;
        columns = 6;
        break;
    case ValuesTable::Feature:
        templateText = kFeatureInsertValues;
        columns = 8;
        break;
    case ValuesTable::FeatureComponents:
        templateText = kFeatureComponentsInsertValues;
        columns = 2;
        break;
    case ValuesTable::Registry:
        templateText = kRegistryInsertValues;
        columns = 6;
        break;
    }
    if (!templateText || values.size() != columns)
        return MsiResult::Failure(ERROR_INVALID_PARAMETER, L"A row of " + std::to_wstring(columns) + L" values is needed, " +
                                                               std::to_wstring(values.size()) + L" are given");
    std::wstring statement;
    MsiResult result = FormatStatement(templateText, {StatementArg::Markers(columns)}, statement);
    if (!result)
        return result;
    return Execute(database, statement, values);
}

}  // namespace wiraxui::msidb
