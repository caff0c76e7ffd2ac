#include "settings.h"

#include <stdlib.h>

#include <cerrno>
#include <cmath>
#include <optional>
#include <string_view>

#include "failure.h"
#include "platform_paths.h"
#include "profile_file.h"
#include "text_util.h"

namespace lorvane::Clean_code {
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

[[noreturn]] void TypeMismatch() { throw Failure(ErrNo::TypeMismatch, "Type mismatch"); }
[[noreturn]] void Overflow() { throw Failure(ErrNo::Overflow, "Overflow"); }

// The number the text holds; the decimal point is "." whatever the user's
// locale says. Throws 13 for text that is not a number, 6 beyond a double.
double ToNumber(std::string_view text) {
    const std::string s(TrimBlanks(text));
    if (!IsDecimalNumber(s)) TypeMismatch();
    errno = 0;
    char* end = nullptr;
    const double value = StrtodC(s.c_str(), &end);
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

std::string SettingsFilePath(const std::string& appDir) { return appDir + kPathSeparator + "LVN.ini"; }

bool ToBoolean(const std::string& value) {
    const std::string_view t = TrimBlanks(value);
    if (CompareNoCase(t, "True") == 0) return true;
    if (CompareNoCase(t, "False") == 0) return false;
    return ToNumber(t) != 0;
}

std::int16_t ToInt16(const std::string& value) {
    const double rounded = RoundHalfToEven(ToNumber(value));
    if (rounded < -32768.0 || rounded > 32767.0) Overflow();
    return static_cast<std::int16_t>(rounded);
}

void SaveSettings(MainFormHost& form) {
    const WindowState& st = form.State();
    WriteProfileStrings(SettingsFilePath(form.AppDir()), kSettingsSection,
                        {{kKeyMameName, st.MameExeName},
                         {kKeyDataFileName, st.LVNGameList},
                         {kKeyJoy, st.Text4},
                         {kKeyPreviewOn, st.Preview ? "True" : "False"}});
}

void WriteDefaultSettings(const std::string& appDir) {
    WriteProfileStrings(SettingsFilePath(appDir), kSettingsSection,
                        {{kKeyMameName, "MAME.exe"},
                         {kKeyDataFileName, "LVN_LIST.txt"},
                         {kKeyJoy, "1"},
                         {kKeyPreviewOn, "False"}});
}

void LoadSettings(MainFormHost& form) {
    const std::string file = SettingsFilePath(form.AppDir());
    auto read = [&](const char* key) { return GetPrivateProfileString(kSettingsSection, key, kMissingValue, file); };
    WindowState& st = form.State();
    st.MameExeName = read(kKeyMameName);
    st.LVNGameList = read(kKeyDataFileName);
    st.Text4 = read(kKeyJoy);
    // Only ever switches the preview on: the handler is a toggle.
    if (ToBoolean(read(kKeyPreviewOn))) form.Preview_Click();
    form.JOY_SEL_Click(ToInt16(st.Text4));
}

}  // namespace lorvane::Clean_code
