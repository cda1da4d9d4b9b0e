// The catalog browser add-in "WRXFWLADDIN": its folders, and where its catalog database lives.
#pragma once

#include "host/HostRecord.h"

extern "C" int InitElectCatBrowser(wiraxui::HostRecord* record);
extern "C" int FinalizeElectCatBrowser(wiraxui::HostRecord* record);

namespace wiraxui {

// Extra disk space of the add-in's own library, on the drive of its default location.
constexpr long long kAddInLibraryBytes = 15261696;
// Extra disk space of the catalog database when it is installed into the library location.
constexpr long long kCatalogDatabaseBytes = 524365824;

}  // namespace wiraxui
