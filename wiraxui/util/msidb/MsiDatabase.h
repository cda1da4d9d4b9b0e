// An installer database (package or patch) opened for the unit's statements, and its code page.
#pragma once

#include "util/msidb/MsiStatement.h"

#include <string>

namespace wiraxui::msidb {

class CMsiDatabase {
public:
    // A package, or a patch (".msp", opened as a patch), opens for reading, or for changes that
    // stay in memory until Commit.
    MsiResult Open(const std::wstring& path, bool forChanges);
    // Saves the changes; fails when the database was not opened for changes.
    MsiResult Commit();
    void Close()
    {
        m_database.Reset();
        m_forChanges = false;
    }
    MSIHANDLE Handle() const { return m_database.Get(); }
    const std::wstring& Path() const { return m_path; }

private:
    CMsiHandle m_database;
    std::wstring m_path;
    bool m_forChanges = false;
};

// Gives the database the code page (for example 1252, 932, or 0 for neutral) by importing the
// installer's "_ForceCodepage" table from a file written for it in the temporary folder.
MsiResult ForceCodepage(MSIHANDLE database, int codepage);

// The database's code page, as the installer exports its "_ForceCodepage" table.
MsiResult ReadCodepage(MSIHANDLE database, int& codepage);

// Whether every character of text has its own code in the database code page (0, neutral, is
// the system's ANSI code page).
bool FitsCodepage(const std::wstring& text, int codepage);

// The text of the "_ForceCodepage.idt" file for the code page.
std::string ForceCodepageFileText(int codepage);

}  // namespace wiraxui::msidb
