#include "init/ProcessState.h"

namespace wiraxui {

ProcessState& State()
{
    static ProcessState state;
    return state;
}

}  // namespace wiraxui
