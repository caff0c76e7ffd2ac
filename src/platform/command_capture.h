#pragma once
// Runs a program as a child with no standard input and captures what it writes.
// Commands are argument vectors: nothing goes through a shell.
#include <memory>
#include <string>
#include <vector>

namespace lorvane::platform {

using CommandLine = std::vector<std::string>;  // argv[0] is the program path

struct CaptureResult {
    std::string text;      // both streams, in arrival order
    bool started = false;  // false: the program could not be started
    int startErrno = 0;    // why: errno, or on Windows the system error code
    bool exited = false;   // ended by itself: exitStatus is valid
    int exitStatus = 0;
    bool signaled = false;  // ended abnormally: killed by a signal, or on
    int termSignal = 0;     // Windows ended with a crash code (termSignal)
};

// How the child ended, for a message: "exit status 2", "killed by signal 9
// (Killed)" (Windows: "crashed: access violation (0xC0000005)"), or the
// system's reason it could not be started.
std::string HowItEnded(const CaptureResult& result);

// The system's own words for a start failure (startErrno).
std::string DescribeStartError(int startError);

// Blocks until every writer has closed the pipe (a grandchild holding it keeps
// the call waiting), then reaps the child. Throws Failure 5 when neither stream
// is requested.
CaptureResult RunCapture(const CommandLine& argv, bool captureStdout, bool captureStderr);

// A capture that runs beside others: the caller waits with WaitForOutput and
// calls ReadAvailable() until it returns false; Finish() then reaps the child.
class ChildCapture {
public:
    ChildCapture();
    ~ChildCapture();  // kills and reaps a child still running
    ChildCapture(const ChildCapture&) = delete;
    ChildCapture& operator=(const ChildCapture&) = delete;
    ChildCapture(ChildCapture&& other) noexcept;
    ChildCapture& operator=(ChildCapture&& other) noexcept;

    // Starts the child (both streams into the pipe). False when it could not be
    // started; Result() then says why.
    bool Start(const CommandLine& argv, bool captureStdout = true, bool captureStderr = true);
    // Reads what is there without blocking; false once the pipe is at its end.
    bool ReadAvailable();
    // Closes the pipe and reaps the child (waiting for it to end).
    const CaptureResult& Finish();
    // Ends the child and everything it started (its process group; on
    // Windows its job object).
    void Kill();
    bool Running() const;
    const CaptureResult& Result() const { return result_; }
    std::string TakeText() { return std::move(result_.text); }

private:
    // The child and the pipe as the system has them; each system's code (and
    // its tests) reaches them through ChildCaptureAccess.
    struct Native;
    // Each system's file completes Native and deletes it, so that the moves
    // and the destructor are written once for both.
    struct NativeDeleter {
        void operator()(Native* native) const noexcept;
    };
    using NativePtr = std::unique_ptr<Native, NativeDeleter>;
    static NativePtr MakeNative();
    friend struct ChildCaptureAccess;
    friend std::vector<bool> WaitForOutput(const std::vector<const ChildCapture*>&, int);
    void Reset() noexcept;
    NativePtr native_;
    CaptureResult result_;
};

// Waits until at least one of the captures has output to read or has reached
// its end, or until timeoutMs have passed; returns, for each capture in order,
// whether it is ready. A null entry, or one whose pipe is closed, never is.
std::vector<bool> WaitForOutput(const std::vector<const ChildCapture*>& captures, int timeoutMs);

// How many checks can usefully run at once: the processors this program may use.
int ProcessorCount();

// The text both streams gave, or the empty text when the program could not be
// started. With the OEM flag the text is taken as the console's OEM code page
// and turned into UTF-8 (Windows); elsewhere there is no second code page and
// it changes nothing. Throws Failure 5 when neither stream is requested.
std::string CapturedText(const CommandLine& argv, bool captureStdout, bool captureStderr,
                         bool oemConvert);

}  // namespace lorvane::platform
