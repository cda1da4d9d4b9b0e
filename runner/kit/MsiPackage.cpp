#include "MsiPackage.h"

#include "KernelHandle.h"

#include <msi.h>
#include <msidefs.h>
#include <msiquery.h>
#include <rpc.h>
#include <wtypes.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace testsupport {

namespace {

class MsiHandle {
public:
    MsiHandle() = default;
    ~MsiHandle() { Close(); }
    MsiHandle(const MsiHandle&) = delete;
    MsiHandle& operator=(const MsiHandle&) = delete;

    MSIHANDLE* Receive()
    {
        Close();
        return &m_handle;
    }
    MSIHANDLE Get() const { return m_handle; }

private:
    void Close()
    {
        if (m_handle)
            MsiCloseHandle(m_handle);
        m_handle = 0;
    }
    MSIHANDLE m_handle = 0;
};

// Carries the first failure through a sequence of installer calls.
class Steps {
public:
    explicit Steps(std::wstring* failure) : m_failure(failure) {}

    bool Check(UINT result, const wchar_t* what)
    {
        if (m_result == ERROR_SUCCESS && result != ERROR_SUCCESS) {
            m_result = result;
            if (m_failure)
                *m_failure = std::wstring(what) + L" failed (" + std::to_wstring(result) + L")";
        }
        return m_result == ERROR_SUCCESS;
    }
    UINT Result() const { return m_result; }

private:
    std::wstring* m_failure;
    UINT m_result = ERROR_SUCCESS;
};

bool Execute(MSIHANDLE database, const wchar_t* query, Steps& steps)
{
    MsiHandle view;
    return steps.Check(MsiDatabaseOpenViewW(database, query, view.Receive()), query) &&
           steps.Check(MsiViewExecute(view.Get(), 0), query);
}

// Inserts one row through a record, so that no value needs quoting inside the query.
bool Insert(MSIHANDLE database, const wchar_t* query, std::initializer_list<std::pair<bool, std::wstring>> fields,
            Steps& steps)
{
    MsiHandle record;
    *record.Receive() = MsiCreateRecord(static_cast<UINT>(fields.size()));
    if (!record.Get())
        return steps.Check(ERROR_OUTOFMEMORY, L"MsiCreateRecord");
    UINT index = 1;
    for (const auto& [isNumber, value] : fields) {
        const UINT result = isNumber ? MsiRecordSetInteger(record.Get(), index, _wtoi(value.c_str()))
                                     : MsiRecordSetStringW(record.Get(), index, value.c_str());
        if (!steps.Check(result, L"setting a record field"))
            return false;
        ++index;
    }
    MsiHandle view;
    return steps.Check(MsiDatabaseOpenViewW(database, query, view.Receive()), query) &&
           steps.Check(MsiViewExecute(view.Get(), record.Get()), query);
}

std::pair<bool, std::wstring> Text(std::wstring value) { return {false, std::move(value)}; }
std::pair<bool, std::wstring> Number(int value) { return {true, std::to_wstring(value)}; }

const wchar_t* const kTables[] = {
    L"CREATE TABLE `Property` (`Property` CHAR(72) NOT NULL, `Value` LONGCHAR NOT NULL LOCALIZABLE "
    L"PRIMARY KEY `Property`)",
    L"CREATE TABLE `Feature` (`Feature` CHAR(38) NOT NULL, `Feature_Parent` CHAR(38), `Title` CHAR(64) LOCALIZABLE, "
    L"`Description` CHAR(255) LOCALIZABLE, `Display` SHORT, `Level` SHORT NOT NULL, `Directory_` CHAR(72), "
    L"`Attributes` SHORT NOT NULL PRIMARY KEY `Feature`)",
    L"CREATE TABLE `InstallExecuteSequence` (`Action` CHAR(72) NOT NULL, `Condition` CHAR(255), `Sequence` SHORT "
    L"PRIMARY KEY `Action`)",
};

// The standard actions that register and unregister a product that installs no files.
const std::pair<const wchar_t*, int> kExecuteSequence[] = {
    {L"CostInitialize", 800},     {L"FileCost", 900},          {L"CostFinalize", 1000},
    {L"InstallValidate", 1400},   {L"InstallInitialize", 1500}, {L"RegisterProduct", 6100},
    {L"PublishFeatures", 6300},   {L"PublishProduct", 6400},   {L"InstallFinalize", 6600},
};

bool SetSummary(MSIHANDLE database, Steps& steps)
{
    MsiHandle summary;
    if (!steps.Check(MsiGetSummaryInformationW(database, nullptr, 20, summary.Receive()), L"MsiGetSummaryInformationW"))
        return false;
    const std::wstring packageCode = NewGuid();
    return steps.Check(MsiSummaryInfoSetPropertyW(summary.Get(), PID_TITLE, VT_LPSTR, 0, nullptr, L"Installation Database"),
                       L"summary title") &&
           steps.Check(MsiSummaryInfoSetPropertyW(summary.Get(), PID_TEMPLATE, VT_LPSTR, 0, nullptr, L"x64;1033"),
                       L"summary template") &&
           steps.Check(MsiSummaryInfoSetPropertyW(summary.Get(), PID_REVNUMBER, VT_LPSTR, 0, nullptr, packageCode.c_str()),
                       L"summary package code") &&
           steps.Check(MsiSummaryInfoSetPropertyW(summary.Get(), PID_PAGECOUNT, VT_I4, 200, nullptr, nullptr),
                       L"summary schema") &&
           steps.Check(MsiSummaryInfoSetPropertyW(summary.Get(), PID_WORDCOUNT, VT_I4, 2, nullptr, nullptr),
                       L"summary source type") &&
           steps.Check(MsiSummaryInfoPersist(summary.Get()), L"MsiSummaryInfoPersist");
}

}  // namespace

std::wstring NewGuid()
{
    UUID uuid{};
    UuidCreate(&uuid);
    wchar_t text[40] = L"";
    swprintf(text, 40, L"{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned long>(uuid.Data1),
             uuid.Data2, uuid.Data3, uuid.Data4[0], uuid.Data4[1], uuid.Data4[2], uuid.Data4[3], uuid.Data4[4],
             uuid.Data4[5], uuid.Data4[6], uuid.Data4[7]);
    return text;
}

UINT BuildMsiPackage(const std::wstring& path, const MsiProductInfo& product, std::wstring* failure)
{
    Steps steps(failure);
    DeleteFileW(path.c_str());
    MsiHandle database;
    if (!steps.Check(MsiOpenDatabaseW(path.c_str(), MSIDBOPEN_CREATE, database.Receive()), L"MsiOpenDatabaseW"))
        return steps.Result();
    const MSIHANDLE db = database.Get();

    for (const wchar_t* table : kTables) {
        if (!Execute(db, table, steps))
            return steps.Result();
    }
    const std::pair<const wchar_t*, const std::wstring*> properties[] = {
        {L"ProductCode", &product.productCode},       {L"ProductName", &product.productName},
        {L"ProductVersion", &product.productVersion}, {L"Manufacturer", &product.manufacturer},
        {L"ProductLanguage", &product.language},
    };
    for (const auto& [name, value] : properties) {
        if (!Insert(db, L"INSERT INTO `Property` (`Property`, `Value`) VALUES (?, ?)", {Text(name), Text(*value)}, steps))
            return steps.Result();
    }
    for (const auto& [name, value] : product.properties) {
        if (!Insert(db, L"INSERT INTO `Property` (`Property`, `Value`) VALUES (?, ?)", {Text(name), Text(value)}, steps))
            return steps.Result();
    }
    if (!Insert(db, L"INSERT INTO `Feature` (`Feature`, `Title`, `Display`, `Level`, `Attributes`) VALUES (?, ?, ?, ?, ?)",
                {Text(L"Complete"), Text(product.productName), Number(1), Number(1), Number(0)}, steps))
        return steps.Result();
    for (const auto& [action, sequence] : kExecuteSequence) {
        if (!Insert(db, L"INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES (?, ?)",
                    {Text(action), Number(sequence)}, steps))
            return steps.Result();
    }
    if (SetSummary(db, steps))
        steps.Check(MsiDatabaseCommit(db), L"MsiDatabaseCommit");
    return steps.Result();
}

DWORD RunMsiexec(const std::wstring& arguments, DWORD timeoutMs)
{
    wchar_t system[MAX_PATH] = L"";
    if (!GetSystemDirectoryW(system, MAX_PATH))
        return GetLastError();
    std::wstring command = L"\"" + std::wstring(system) + L"\\msiexec.exe\" " + arguments;
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return GetLastError();
    hostkit::KernelHandle thread(process.hThread);
    hostkit::KernelHandle child(process.hProcess);
    if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return WAIT_TIMEOUT;
    DWORD exitCode = ERROR_GEN_FAILURE;
    GetExitCodeProcess(process.hProcess, &exitCode);
    return exitCode;
}

}  // namespace testsupport
