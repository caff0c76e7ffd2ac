#pragma once
// A failure carries a number and a description, like the program's one pending
// error. Routines raise a Failure; the start-up check and a few handlers catch
// it and keep it pending instead of passing it on.
#include <cstdint>
#include <exception>
#include <string>

namespace lorvane::util {

namespace ErrNo {
constexpr std::int32_t None = 0;
constexpr std::int32_t InvalidArgument = 5;
constexpr std::int32_t Overflow = 6;
constexpr std::int32_t SubscriptOutOfRange = 9;
constexpr std::int32_t TypeMismatch = 13;
constexpr std::int32_t BadFileName = 52;
constexpr std::int32_t FileNotFound = 53;
constexpr std::int32_t FileAlreadyExists = 58;
constexpr std::int32_t DeviceIoError = 57;
constexpr std::int32_t DiskFull = 61;
constexpr std::int32_t PermissionDenied = 70;
constexpr std::int32_t PathFileAccessError = 75;
constexpr std::int32_t PathNotFound = 76;
constexpr std::int32_t ControlArrayElementMissing = 340;
// The picture pane cannot show pictures on this system.
constexpr std::int32_t ObjectDoesNotSupportProperty = 438;
// Reserved: the emulator executable was not found. Nothing else may use it.
constexpr std::int32_t ExecutableNotFound = 9999;
}  // namespace ErrNo

class Failure : public std::exception {
public:
    Failure(std::int32_t number, std::string description)
        : number_(number), description_(std::move(description)) {}
    std::int32_t Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    std::int32_t number_;
    std::string description_;
};

// Builds the failure for a failed system call: the number follows the kind of
// fault (not found, no access, disk full, ...), the description names the path.
Failure FailureFromErrno(int err, const std::string& what);

struct PendingError {
    std::int32_t number = ErrNo::None;
    std::string description;

    void Clear() {
        number = ErrNo::None;
        description.clear();
    }
    void Set(const Failure& f) {
        number = f.Number();
        description = f.Description();
    }
    void Set(std::int32_t n, std::string d) {
        number = n;
        description = std::move(d);
    }
    bool IsSet() const { return number != ErrNo::None; }
};

}  // namespace lorvane::util
