// Resource numbers of HostRes.dll, the host's common texts and images.
#pragma once
