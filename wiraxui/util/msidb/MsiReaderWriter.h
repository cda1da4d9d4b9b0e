// The two faces of a row record of an installer table: reading it from a database, and writing
// it into one. A record offers the statements its table has; the others answer "not offered".
#pragma once

#include "util/msidb/MsiStatement.h"

#include <string>

namespace wiraxui::msidb {

class IMsiReader {
public:
    virtual ~IMsiReader() = default;
    // Fills the record from the table's row with key; ERROR_NOT_FOUND when there is none.
    virtual MsiResult Read(MSIHANDLE database, const std::wstring& key) = 0;
};

class IMsiWriter {
public:
    virtual ~IMsiWriter() = default;
    // Puts the record in place of the row with its key: delete, then insert. Values that the
    // insert would refuse are found before anything is deleted.
    virtual MsiResult Write(MSIHANDLE database);
    virtual MsiResult Insert(MSIHANDLE database) = 0;
    virtual MsiResult Update(MSIHANDLE database);
    virtual MsiResult Delete(MSIHANDLE database);

protected:
    virtual const wchar_t* TableName() const = 0;
    MsiResult NotOffered(const wchar_t* operation) const;
    // Fills the template with args and runs it with parameters bound (only fills it while the
    // writer is checking its statements).
    MsiResult Run(MSIHANDLE database, const wchar_t* templateText, std::initializer_list<StatementArg> args,
                  const std::vector<MsiValue>& parameters = {}) const;

private:
    bool m_checkOnly = false;
};

}  // namespace wiraxui::msidb
