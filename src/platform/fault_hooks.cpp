#include "platform/fault_hooks.h"

#include <atomic>

#include "platform/file_io.h"
#include "platform/file_move.h"

namespace lorvane::platform {
namespace {

std::atomic<ReadFaultHook> g_readHook{nullptr};
std::atomic<WriteFaultHook> g_writeHook{nullptr};
std::atomic<MoveFaultHook> g_moveHook{nullptr};

}  // namespace

void SetReadFaultHook(ReadFaultHook hook) { g_readHook.store(hook); }
void SetWriteFaultHook(WriteFaultHook hook) { g_writeHook.store(hook); }
void SetMoveFaultHook(MoveFaultHook hook) { g_moveHook.store(hook); }

namespace fault {

int OnRead(const std::string& path) {
    const ReadFaultHook hook = g_readHook.load();
    return hook ? hook(path) : 0;
}

int OnWrite(const char* step, const std::string& path) {
    const WriteFaultHook hook = g_writeHook.load();
    return hook ? hook(step, path) : 0;
}

int OnMove(const char* step, const std::string& path) {
    const MoveFaultHook hook = g_moveHook.load();
    return hook ? hook(step, path) : 0;
}

}  // namespace fault
}  // namespace lorvane::platform
