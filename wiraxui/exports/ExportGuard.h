// Exports answer with their promised value whatever fails inside them.
#pragma once

#include <GuardedCall.h>

namespace wiraxui {
using plugins::Guarded;
using plugins::GuardedExport;
}  // namespace wiraxui
