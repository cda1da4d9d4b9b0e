// What the plug-in made the host do, in the order it happened: the calls on the installation
// (the host's journal), the host callbacks it called and the usage reports it sent are kept
// apart by the host, so only their places in one sequence show, for instance, whether the
// leave list ran before a commit wrote its properties.
//
//   host-order yes|no         from here on (yes) or no longer (no), after each call the facts
//                             list the three in the order they happened, one fact each:
//
//   in-order callback LIST N -> ANSWER   a host callback (page-callback without its record)
//   in-order usage REPORT                a usage report (as the usage fact has it)
//   in-order FACT                        a call on the installation, as its own fact has it
//                                        (property ..., install-property ..., message ...);
//                                        progress records are left out
#pragma once

#include <string>

namespace runner {

// Places something the host's journal does not hold at this point of the journal. Called on
// the plug-in's thread from the host's side (a callback, a usage report); does nothing while
// no scenario asked for the order.
void NoteInOrder(const std::wstring& what);

}  // namespace runner
