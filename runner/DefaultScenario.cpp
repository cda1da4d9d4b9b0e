#include "DefaultScenario.h"

namespace runner {

const wchar_t* const kDefaultScenario = LR"(# A typical new installation of the electrical product.
plugin WiraxUI
setup-mode 1
install-path "C:\Program Files\Tarvena\Wirax\"

product WIRAX_MAIN action=8
product WIRAX action=8
product WIRAX_LP action=8
product WIRAXCONTENT_LP action=8

property WIRAX_MAIN PLNDVERSION "2027"
property WIRAX_MAIN PLNDPRODUCTID "0410"
property WIRAX_MAIN PLNDLOCALEID "1033"
property WIRAX_MAIN GLOBCONTENTPRODUCTCODE "{5D1A8E2C-7B31-4F0A-9C62-1E2F3A4B5C6D}"
property WIRAX_MAIN LOCCONTENTPRODUCTCODE "{5D1A8E2C-7B31-4F0A-9C62-1E2F3A4B5C6E}"
property WIRAX_MAIN DRAWINGSTANDARD "IEC"
property WIRAX_MAIN SYMBOLLIBRARY ""
property WIRAX_MAIN WIRAXDEFAULTFOLDER "Wirax 2027"
property WIRAX_MAIN Manufacturer "Tarvena"

# The host prepares the product: libraries for IEC, default folders, no manufacturer content yet.
call InitializeProduct_WRX

# The user opens the configuration panel's manufacturer page, where Siemens content is
# preselected, and the host commits the page: the warning goes, the content is costed.
property WIRAX_MAIN M_SI "1"
call ManufacturerContentPage commit

# Not a standalone language pack: the main product is installed in this run.
call validateWiraxLPInstall
)";

}  // namespace runner
