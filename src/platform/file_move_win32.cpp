#include <windows.h>

#include <cerrno>
#include <vector>

#include "platform/fault_hooks.h"
#include "platform/file_move.h"
#include "platform/win32_file.h"

namespace lorvane::platform {
namespace {

MoveResult Moved() { return {MoveOutcome::Moved, std::nullopt}; }
MoveResult TargetExists() { return {MoveOutcome::TargetExists, std::nullopt}; }
std::string What(const std::string& from, const std::string& to) {
    return "moving " + from + " to " + to;
}
MoveResult FailedErrno(int err, const std::string& from, const std::string& to) {
    return {MoveOutcome::Failed, util::FailureFromErrno(err, What(from, to))};
}
// A file held open by another program shows here as a sharing violation, and
// the description says so.
MoveResult FailedSystem(DWORD code, const std::string& from, const std::string& to) {
    return {MoveOutcome::Failed, win32::FailureFromError(code, What(from, to))};
}

bool NameTaken(DWORD code) { return code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS; }

// Windows refuses to delete a read-only file, Linux does not.
bool RemoveFile(const std::wstring& path) {
    const DWORD attrs = ::GetFileAttributesW(path.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY) != 0)
        ::SetFileAttributesW(path.c_str(),
                             win32::SettableAttributes(attrs & ~FILE_ATTRIBUTE_READONLY));
    if (::DeleteFileW(path.c_str())) return true;
    const DWORD e = ::GetLastError();
    if (attrs != INVALID_FILE_ATTRIBUTES)
        ::SetFileAttributesW(path.c_str(), win32::SettableAttributes(attrs));
    ::SetLastError(e);
    return false;
}

DWORD CopyContent(HANDLE in, HANDLE out) {
    std::vector<char> buf(1 << 20);
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(in, buf.data(), static_cast<DWORD>(buf.size()), &n, nullptr))
            return ::GetLastError();
        if (n == 0) return 0;
        if (!win32::WriteAll(out, buf.data(), n)) return ::GetLastError();
    }
}

// Another volume: copy, flush, name the copy, and only then let go of the
// source. Until the last step the source is untouched.
MoveResult MoveAcross(const std::string& from, const std::string& to, const std::wstring& wfrom,
                      const std::wstring& wto) {
    if (::GetFileAttributesW(wto.c_str()) != INVALID_FILE_ATTRIBUTES) return TargetExists();
    const DWORD srcAttrs = ::GetFileAttributesW(wfrom.c_str());
    if (srcAttrs == INVALID_FILE_ATTRIBUTES) return FailedSystem(::GetLastError(), from, to);
    if ((srcAttrs & FILE_ATTRIBUTE_DIRECTORY) != 0) return FailedErrno(EINVAL, from, to);

    win32::Handle in(::CreateFileW(wfrom.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in.Valid()) return FailedSystem(::GetLastError(), from, to);

    // Hidden, so that no existence test takes the half-made copy for a set.
    const std::wstring tmp = win32::TemporaryNameBeside(wto, L"move");
    if (const int err = fault::OnMove("copy", to)) return FailedErrno(err, from, to);
    win32::Handle out(::CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (!out.Valid()) return FailedSystem(::GetLastError(), from, to);

    auto dropCopy = [&](MoveResult r) {
        out.Close();
        RemoveFile(tmp);
        return r;
    };
    if (const DWORD e = CopyContent(in.Get(), out.Get()))
        return dropCopy(FailedSystem(e, from, to));
    FILETIME created, accessed, written;
    if (::GetFileTime(in.Get(), &created, &accessed, &written))
        ::SetFileTime(out.Get(), &created, &accessed, &written);  // only nice to have
    in.Close();
    if (const int err = fault::OnMove("sync", win32::Utf8(tmp)))
        return dropCopy(FailedErrno(err, from, to));
    if (!::FlushFileBuffers(out.Get())) return dropCopy(FailedSystem(::GetLastError(), from, to));
    if (!out.Close()) return dropCopy(FailedSystem(::GetLastError(), from, to));

    if (const int err = fault::OnMove("place", to)) {
        RemoveFile(tmp);
        return err == EEXIST ? TargetExists() : FailedErrno(err, from, to);
    }
    if (!::MoveFileExW(tmp.c_str(), wto.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD e = ::GetLastError();
        RemoveFile(tmp);
        return NameTaken(e) ? TargetExists() : FailedSystem(e, from, to);
    }

    // From here on the copy bears the final name; a failure takes it back.
    auto dropPlaced = [&](MoveResult r) {
        RemoveFile(wto);
        return r;
    };
    // The copy came in hidden: it takes the source's attributes.
    if (!::SetFileAttributesW(wto.c_str(), win32::SettableAttributes(srcAttrs)))
        return dropPlaced(FailedSystem(::GetLastError(), from, to));
    // The rename was written through; the step stays for the tests' sake.
    if (const int err = fault::OnMove("syncdir", win32::DirOf(to)))
        return dropPlaced(FailedErrno(err, from, to));
    if (const int err = fault::OnMove("unlink", from))
        return dropPlaced(FailedErrno(err, from, to));
    if (!RemoveFile(wfrom)) return dropPlaced(FailedSystem(::GetLastError(), from, to));
    return Moved();
}

}  // namespace

MoveResult MoveFileNoReplace(const std::string& from, const std::string& to) {
    std::wstring wfrom, wto;
    if (from.find('\0') != std::string::npos || to.find('\0') != std::string::npos ||
        !win32::ToWide(from, wfrom) || !win32::ToWide(to, wto))
        return FailedSystem(ERROR_INVALID_NAME, from, to);
    if (const int err = fault::OnMove("rename", to)) {
        if (err == EEXIST) return TargetExists();
        if (err == EXDEV) return MoveAcross(from, to, wfrom, wto);
        return FailedErrno(err, from, to);
    }
    // Without the replace flag the move fails rather than replace a file.
    if (::MoveFileExW(wfrom.c_str(), wto.c_str(), 0)) return Moved();
    const DWORD e = ::GetLastError();
    if (NameTaken(e)) return TargetExists();
    if (e == ERROR_NOT_SAME_DEVICE) return MoveAcross(from, to, wfrom, wto);
    return FailedSystem(e, from, to);
}

}  // namespace lorvane::platform
