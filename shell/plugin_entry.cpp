#include "shell/plugin_entry.h"

#include "shell/reentrant_lock.h"
#include "shell/vst2_plugin.h"

namespace corvalen {
namespace {

// Made once, thread-safely, on first use; destroyed when the library unloads.
ReentrantLock& CreationLock() {
    static const std::unique_ptr<ReentrantLock> lock = CreateReentrantLock();
    return *lock;
}

}  // namespace

EffectRecord* CreateEffect(vst2::HostCallback hostCallback, PluginFactory factory) noexcept {
    if (factory == nullptr) return nullptr;
    try {
        LockScope scope(&CreationLock());
        std::unique_ptr<Vst2Plugin> plugin(factory(hostCallback));
        if (plugin == nullptr) return nullptr;
        plugin->EnsureDefaultPreset();
        plugin->PublishCounts();
        return plugin.release()->Record();
    } catch (...) {
        return nullptr;
    }
}

}  // namespace corvalen
