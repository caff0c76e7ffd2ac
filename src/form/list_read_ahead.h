#pragma once
// The game list read on a thread of its own from the moment the program starts,
// while the toolkit starts and the window is built, just as the start-up would
// read it once its check is done. The start-up takes it only when it is exactly
// what it would read itself: the same data file and ROM folders, none of them
// changed since.
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "form/combo_box.h"
#include "form/emulator_setup.h"
#include "platform/file_identity.h"

namespace lorvane::form {

class ListReadAhead {
public:
    // Starts reading at once, from LVN.ini and the emulator's ini as they are
    // now (relative folders from the current directory), through an emulator
    // set-up of its own like the form's. Never throws from the thread: what
    // fails there is left to the start-up to meet and report.
    ListReadAhead(std::string appDir, std::unique_ptr<const EmulatorSetup> emulator);
    // Waits for the thread.
    ~ListReadAhead();
    ListReadAhead(const ListReadAhead&) = delete;
    ListReadAhead& operator=(const ListReadAhead&) = delete;

    // Until the thread is done.
    void Wait() const;
    // The entries in the list's order when they were read from this data file
    // and these ROM folders and none of these has changed since; none
    // otherwise. Waits for the thread; answers once.
    std::optional<SortedEntries> Take(const std::string& dataFilePath,
                                      const std::vector<std::string>& romFolders);

private:
    struct Read {
        bool complete = false;
        std::string dataFilePath;
        std::vector<std::string> romFolders;
        // The data file's, then each folder's, taken before they were read.
        std::vector<platform::FileIdentity> identities;
        SortedEntries entries;
    };
    static Read ReadList(const std::string& appDir, const EmulatorSetup& emulator);

    std::future<Read> read_;
};

}  // namespace lorvane::form
