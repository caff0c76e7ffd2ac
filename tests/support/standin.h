#pragma once
// The stand-in emulator. InstallStandIn copies the built program to dir/name
// (on Windows a console program; give the name an ".exe" where the caller
// would); it then behaves as the files beside it say, all optional:
//   <name>.args        each run appends one line: its arguments (argv[1..],
//                      on Windows as the C runtime split the command line)
//                      joined by a TAB character
//   <name>.session     each run appends one line: its session id (getsid) and
//                      its process id, separated by a space; on Windows only
//                      its process id, and the grandchild mode's second
//                      process appends a line of its own
//   <name>.listfull    with -listfull: printed to standard output unchanged
//   <name>.verify/<set> with -verifyroms: printed to standard output, exit 0;
//                      without such a file: `romset "<set>" not found!` and a
//                      line end on standard error, exit 2
//   <name>.delay/<set> with -verifyroms: milliseconds to sleep before answering
//   <name>.needs/<set> with -verifyroms: the name of another set; unless
//                      roms/<that name>.zip exists beside the program, the
//                      check fails as if <name>.verify/<set> were missing
//   <name>.batch       with -verifyroms first, before the names (a run over
//                      several sets): printed to standard output unchanged
//   <name>.batchend    after <name>.batch: a number, the exit status; or
//                      "kill": the run ends itself abruptly (SIGKILL; on
//                      Windows the exit code of an access violation)
//   <name>.listxml     with -listxml: printed to standard output unchanged;
//                      without it: an unknown option error, exit 6
//   <name>.mode        one word changing everything above:
//                        silent         prints nothing, exit 0
//                        interleave     "out1\n" stdout, "err1\n" stderr,
//                                       "out2\n" stdout, "err2\n" stderr
//                                       (each flushed, 20 ms apart)
//                        grandchild     starts a child that keeps the output
//                                       open for 1 s and then prints "late\n"
//                        crash          prints "partial\n" then ends itself
//                                       as "kill" above
//                        hang           prints nothing and sleeps for an hour
//                        stdin          reads standard input to its end and
//                                       prints "stdin gave <n> bytes\n"
#include <filesystem>
#include <string>

namespace lorvane::test {

// Path of the built stand-in program.
std::string StandInProgram();
// Copies it to dir/name (executable; name is UTF-8) and returns that path.
std::filesystem::path InstallStandIn(const std::filesystem::path& dir, const std::string& name);
// The argument lines recorded so far in dir/name.args (TAB-joined), one per run.
std::string StandInArgs(const std::filesystem::path& dir, const std::string& name);

}  // namespace lorvane::test
