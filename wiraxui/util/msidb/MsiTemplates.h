// The statements the unit runs on the installer tables it edits. Their text is shared with other
// installer tooling of the product line and stays as it is: '?' is bound when the statement runs,
// %s and %d are filled through FormatStatement before the view opens.
#pragma once

namespace wiraxui::msidb::templates {

constexpr wchar_t kComponentInsert[] =
    L"INSERT INTO `Component` (`Component`,`ComponentId`,`Directory_`,`Attributes`,`Condition`,`KeyPath`) "
    L"VALUES ('%s','%s','%s','%d','%s','%s')";
constexpr wchar_t kComponentUpdate[] =
    L"UPDATE `Component` SET `ComponentId`='%s',`Directory_`='%s',`Attributes`=%d,`Condition`='%s',`KeyPath`='%s' "
    L"WHERE `Component`='%s'";
constexpr wchar_t kComponentDelete[] = L"DELETE FROM `Component` WHERE `Component`='%s'";
constexpr wchar_t kComponentInsertValues[] =
    L"INSERT INTO `Component`  (`Component`, `ComponentId`, `Directory_`, `Attributes`, `Condition`, `KeyPath`) "
    L"VALUES( %s )";

constexpr wchar_t kCreateFolderInsert[] = L"INSERT INTO `CreateFolder` (`Directory_`,`Component_`) VALUES ('%s','%s')";
constexpr wchar_t kCreateFolderDelete[] = L"DELETE FROM `CreateFolder` WHERE `Directory_`='%s' AND `Component_`='%s'";

constexpr wchar_t kDirectoryInsert[] =
    L"INSERT INTO `Directory` (`DefaultDir`,`Directory`,`Directory_Parent`) VALUES (?,'%s','%s')";
constexpr wchar_t kDirectoryUpdate[] =
    L"UPDATE `Directory` SET `DefaultDir`=?, `Directory_Parent`='%s' WHERE `Directory` = '%s'";
constexpr wchar_t kDirectoryDelete[] = L"DELETE FROM `Directory` WHERE `Directory`='%s'";
constexpr wchar_t kDirectorySelect[] = L"SELECT * FROM `Directory` WHERE `Directory`='%s'";

constexpr wchar_t kFeatureInsert[] =
    L"INSERT INTO `Feature` (`Feature`, `Feature_Parent`,`Title`,`Description`,`Display`,`Level`,`Directory_`,"
    L"`Attributes`) VALUES( '%s', '%s', '%s', '%s', '%d', '%d', '%s', '%d') ";
constexpr wchar_t kFeatureUpdate[] =
    L"UPDATE `Feature` SET `Feature_Parent`='%s',`Title`='%s',`Description`='%s',`Display`='%d',`Level`='%d',"
    L"`Directory_`='%s',`Attributes`='%d' WHERE `Feature`='%s'";
constexpr wchar_t kFeatureInsertValues[] =
    L"INSERT INTO `Feature`  (`Feature`, `Feature_Parent`, `Title`, `Description`, `Display`,  `Level`, "
    L"`Directory_`, `Attributes`) VALUES( %s )";

constexpr wchar_t kFeatureComponentsInsert[] =
    L"INSERT INTO `FeatureComponents` (`Feature_`,`Component_`) VALUES ('%s','%s')";
constexpr wchar_t kFeatureComponentsDelete[] =
    L"DELETE FROM `FeatureComponents` WHERE `Feature_`='%s' AND `Component_`='%s'";
constexpr wchar_t kFeatureComponentsInsertValues[] =
    L"INSERT INTO `FeatureComponents` (`Feature_`, `Component_`) VALUES( %s )";

constexpr wchar_t kFileInsert[] =
    L"INSERT INTO `File` (`FileName`,`File`,`Component_`,`FileSize`,`Version`,`Language`,`Attributes`,`Sequence`) "
    L"VALUES (?, '%s','%s','%d','%s','%s','%d','%d')";
constexpr wchar_t kFileDelete[] = L"DELETE FROM `File` WHERE `File`='%s'";

constexpr wchar_t kMediaInsert[] =
    L"INSERT INTO `Media` (`DiskId`,`LastSequence`,`DiskPrompt`,`VolumeLabel`,`Source`) VALUES (%d,%d,'%s','%s','%s')";
constexpr wchar_t kMediaUpdate[] =
    L"UPDATE `Media` SET `LastSequence`=%d,`DiskPrompt`='%s',`VolumeLabel`='%s',`Source`='%s' WHERE `DiskId`=%d";
constexpr wchar_t kMediaDelete[] = L"DELETE FROM `Media` WHERE `DiskId`=%d";

constexpr wchar_t kShortcutInsert[] =
    L"INSERT INTO `Shortcut` (`Name`,`Shortcut`,`Directory_`,`Component_`,`Target`,`Arguments`,`Description`,"
    L"`Hotkey`,`Icon_`,`IconIndex`,`ShowCmd`,`WkDir`) VALUES (?,'%s','%s','%s','%s','%s','%s',Null,'%s',Null,Null,'%s')";
constexpr wchar_t kShortcutUpdate[] = L"UPDATE `Shortcut` SET `Name`=?,`Arguments`='%s' WHERE `Shortcut`='%s'";
constexpr wchar_t kShortcutDelete[] = L"DELETE FROM `Shortcut` WHERE `Shortcut`='%s'";

constexpr wchar_t kCustomFileInsert[] =
    L"INSERT INTO `TrvnCustomFile` (`SourceFileName`,`Component_`,`Flags`) VALUES (?,'%s','%d')";
constexpr wchar_t kCustomFileUpdate[] =
    L"UPDATE `TrvnCustomFile` SET `SourceFileName`=?, `Flags`='%d' WHERE `Component_`='%s' ";
constexpr wchar_t kCustomFileDelete[] = L"DELETE FROM `TrvnCustomFile` WHERE `Component_`='%s'";

constexpr wchar_t kCustomActionInsert[] =
    L"INSERT INTO `CustomAction` (`Action`,`Type`,`Source`,`Target`) VALUES ('%s','%d','%s','%s')";
constexpr wchar_t kCustomActionUpdate[] =
    L"UPDATE `CustomAction` SET `Type`='%d', `Source`='%s', `Target`='%s' WHERE `Action`='%s' ";
constexpr wchar_t kCustomActionDelete[] = L"DELETE FROM `CustomAction` WHERE `Action`='%s'";

constexpr wchar_t kExecuteSequenceInsert[] =
    L"INSERT INTO `InstallExecuteSequence` (`Action`,`Condition`,`Sequence`) VALUES ('%s','%s','%d')";
constexpr wchar_t kExecuteSequenceUpdate[] =
    L"UPDATE `InstallExecuteSequence` SET `Condition`='%s',`Sequence`='%s' WHERE `Action`='%s' ";
constexpr wchar_t kExecuteSequenceDelete[] = L"DELETE FROM `InstallExecuteSequence` WHERE `Action`='%s'";

constexpr wchar_t kPropertySelect[] = L"SELECT `Value` FROM `%s` WHERE `Property`='%s'";
constexpr wchar_t kPropertyDelete[] = L"DELETE FROM `Property` WHERE `Property`='%s'";
constexpr wchar_t kPropertyInsert[] = L"INSERT INTO `Property` (`Property`,`Value`) VALUES ('%s',?)";

constexpr wchar_t kRegistryInsertValues[] =
    L"INSERT INTO `Registry`  (`Registry`, `Root`, `Key`, `Name`, `Value`, `Component_`) VALUES( %s )";
constexpr wchar_t kRegistryUninstallString[] =
    L"SELECT `Key`,`Component_` FROM `Registry` WHERE `Name`='UninstallString'";

}  // namespace wiraxui::msidb::templates
