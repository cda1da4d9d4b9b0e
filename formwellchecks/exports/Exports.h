// The plug-in's exports, declared from the host's function types so that the two cannot drift
// apart. FormwellChecks.def gives the names the host looks up.
#pragma once

#include "FormwellChecks.h"

extern "C" {
formwell::AppCheckFunction AppCheck;
formwell::PreCheckFunction PreCheck;
formwell::PostCheckFunction PostCheck;
formwell::LpEvalFunction LpEval;
formwell::FwcPreCheckFunction FwcPreCheck;
formwell::CustomPlatformCheckFunction CustomPlatformCheck;
// Exported as CheckForSSE2Support: the host's function of that name is called inside.
formwell::CheckForSSE2SupportFunction ForwardCheckForSSE2Support;
}
