#pragma once

namespace runner {
// The typical installation the runner plays when it is given no scenario file.
extern const wchar_t* const kDefaultScenario;
}
