#pragma once
// LVN.ini: the four settings the program keeps between runs, in the section
// [Settings] of a file in the application directory. Anything else in the
// file is kept as it is.
#include <cstdint>
#include <string>

namespace lorvane::settings {

inline constexpr const char* kSettingsFileName = "LVN.ini";
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kKeyEmulatorName = "MAME NAME";
inline constexpr const char* kKeyDataFileName = "Data File Name";
inline constexpr const char* kKeyJoystick = "Joy";
inline constexpr const char* kKeyPreviewOn = "Preview_on";

// What a key reads as when the file, the section or the key is missing, for
// all four keys alike. It is not a setting of its own: it is what the program
// has always read there, and its effects follow from that. As a file name it
// names a file that is not there, so the start-up asks for the emulator or
// creates the data file; as "Preview_on" it is a number other than 0, so the
// preview comes on; as "Joy" it is an index without a menu entry.
inline constexpr const char* kMissingValue = "1500";

// The four settings as the file holds them: text, exactly as read or to be written.
struct StoredSettings {
    std::string emulatorFileName;  // relative to the application directory
    std::string dataFileName;      // relative to the application directory
    std::string joystickIndex;     // the joystick mode's index, as decimal text
    std::string previewOn;         // "True" or "False" as written; any truth value as read
};

// What "Create Default ini" writes, and the first start: MAME.exe, LVN_LIST.txt,
// joystick mode 1 ("None"), preview off.
StoredSettings DefaultSettings();

std::string SettingsFilePath(const std::string& appDir);  // appDir + "/LVN.ini"

// The four keys, each whole, kMissingValue for a missing one. Throws Failure
// when the file is there but cannot be read.
StoredSettings ReadSettings(const std::string& appDir);
// Writes the four keys in this order, in one replacement of the file. Throws
// Failure when LVN.ini cannot be written (the file is then unchanged).
void WriteSettings(const std::string& appDir, const StoredSettings& settings);

// "True"/"False" in any case, or a number (0 false); throws 13 otherwise.
bool ToBoolean(const std::string& value);
// A number rounded half to even into 16 bits; throws 13 or 6.
std::int16_t ToInt16(const std::string& value);

}  // namespace lorvane::settings
