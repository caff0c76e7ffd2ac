#pragma once
#include <cstdint>
#include <string>

#include "main_form_host.h"

namespace lorvane::Clean_code {

inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kKeyMameName = "MAME NAME";
inline constexpr const char* kKeyDataFileName = "Data File Name";
inline constexpr const char* kKeyJoy = "Joy";
inline constexpr const char* kKeyPreviewOn = "Preview_on";
inline constexpr const char* kMissingValue = "1500";

std::string SettingsFilePath(const std::string& appDir);  // appDir + "/LVN.ini"

// Writes the four settings from the window. Throws Failure when LVN.ini cannot
// be written (the file is then unchanged).
void SaveSettings(MainFormHost& form);
// Writes the four default values; does not touch the window. Throws like SaveSettings.
void WriteDefaultSettings(const std::string& appDir);
// Reads the four settings and applies them; a value that cannot be applied
// throws (13 type mismatch, 6 overflow, 340 no such joystick entry) after the
// steps before it are done.
void LoadSettings(MainFormHost& form);

// "True"/"False" in any case, or a number (0 false); throws 13 otherwise.
bool ToBoolean(const std::string& value);
// A number rounded half to even into 16 bits; throws 13 or 6.
std::int16_t ToInt16(const std::string& value);

}  // namespace lorvane::Clean_code
