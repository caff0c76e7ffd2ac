#include "settings/settings.h"

#include <cerrno>
#include <cmath>
#include <optional>
#include <string_view>

#include "platform/c_locale_number.h"
#include "platform/paths.h"
#include "settings/profile_file.h"
#include "util/failure.h"
#include "util/text.h"

namespace lorvane::settings {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A plain decimal number: optional sign, digits with an optional fraction (at
// least one digit in all), an optional exponent. No hex, no "inf" or "nan".
bool IsDecimalNumber(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == s.size();
}

[[noreturn]] void TypeMismatch() {
    throw util::Failure(util::ErrNo::TypeMismatch, "Type mismatch");
}
[[noreturn]] void Overflow() { throw util::Failure(util::ErrNo::Overflow, "Overflow"); }

// The number the text holds; the decimal point is "." whatever the user's
// locale says. Throws 13 for text that is not a number, 6 beyond a double.
double ToNumber(std::string_view text) {
    const std::string s(util::TrimBlanks(text));
    if (!IsDecimalNumber(s)) TypeMismatch();
    errno = 0;
    char* end = nullptr;
    const double value = platform::StrtodC(s.c_str(), &end);
    if (end != s.c_str() + s.size()) TypeMismatch();
    if (errno == ERANGE && std::isinf(value)) Overflow();
    return value;
}

double RoundHalfToEven(double x) {
    const double low = std::floor(x);
    const double diff = x - low;
    if (diff < 0.5) return low;
    if (diff > 0.5) return low + 1;
    return std::fmod(low, 2.0) == 0 ? low : low + 1;
}

}  // namespace

std::string SettingsFilePath(const std::string& appDir) {
    return appDir + platform::kPathSeparator + kSettingsFileName;
}

bool ToBoolean(const std::string& value) {
    const std::string_view t = util::TrimBlanks(value);
    if (util::CompareNoCase(t, "True") == 0) return true;
    if (util::CompareNoCase(t, "False") == 0) return false;
    return ToNumber(t) != 0;
}

std::int16_t ToInt16(const std::string& value) {
    const double rounded = RoundHalfToEven(ToNumber(value));
    if (rounded < -32768.0 || rounded > 32767.0) Overflow();
    return static_cast<std::int16_t>(rounded);
}

StoredSettings DefaultSettings() { return {"MAME.exe", "LVN_LIST.txt", "1", "False"}; }

StoredSettings ReadSettings(const std::string& appDir) {
    // One read for all four keys: the start-up reads them before anything is shown.
    const std::string content = ReadProfileFile(SettingsFilePath(appDir)).value_or(std::string());
    auto read = [&](const char* key) {
        return FindProfileValue(content, kSettingsSection, key).value_or(kMissingValue);
    };
    return {read(kKeyEmulatorName), read(kKeyDataFileName), read(kKeyJoystick),
            read(kKeyPreviewOn)};
}

void WriteSettings(const std::string& appDir, const StoredSettings& settings) {
    WriteProfileStrings(SettingsFilePath(appDir), kSettingsSection,
                        {{kKeyEmulatorName, settings.emulatorFileName},
                         {kKeyDataFileName, settings.dataFileName},
                         {kKeyJoystick, settings.joystickIndex},
                         {kKeyPreviewOn, settings.previewOn}});
}

}  // namespace lorvane::settings
