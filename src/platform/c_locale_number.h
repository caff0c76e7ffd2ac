#pragma once
// Numbers read as the settings file writes them, whatever the user's locale.

namespace lorvane::platform {

// strtod in the C locale, whatever the user's locale says (errno as strtod
// sets it). Throws Failure when the C locale cannot be had.
double StrtodC(const char* text, char** end);

}  // namespace lorvane::platform
