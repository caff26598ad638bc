#include "platform/data/file.h"

#include "platform/data/file_instance.h"
#include "platform/data/fork_guard.h"
#include "platform/runtime/thread_context.h"
#include "platform/text/codepage.h"

#include <cstring>
#include <stdexcept>
#include <unordered_map>

namespace fw {
namespace {

// The instances of every thread, by thread context and declaration. Never
// destroyed, so declarations and threads may end in any order, also at exit.
using InstanceTable = std::unordered_map<const File*, std::unique_ptr<FileInstance>>;

// Moves on whenever instances go (a thread's end, a fork), so a lookup
// remembered from before is not trusted.
unsigned g_instancesGone = 0;
unsigned RegistryAge() { return g_instancesGone * 2u + data::ForkGeneration() * 0x10000u; }

std::unordered_map<const ThreadContext*, InstanceTable>& Instances() {
    static auto* m = new std::unordered_map<const ThreadContext*, InstanceTable>;
    static unsigned forks = data::ForkGeneration();
    if (forks != data::ForkGeneration()) {
        // A forked child starts with no file open: its parent's instances
        // (and their connections) are left alone, never closed here.
        forks = data::ForkGeneration();
        m = new std::unordered_map<const ThreadContext*, InstanceTable>;
    }
    return *m;
}

// Lives in each thread's context: when the thread ends, its files close.
struct ThreadFiles {
    const ThreadContext* context = nullptr;
    ~ThreadFiles() {
        if (!context) return;
        auto& all = Instances();
        auto it = all.find(context);
        if (it == all.end()) return;
        InstanceTable gone = std::move(it->second);
        all.erase(it);
        ++g_instancesGone;
    }
};

}  // namespace

FileInstance::FileInstance(File& f) : file(&f), external_(f.Decl().buffer) {
    if (!external_) {
        ownStorage_.resize((f.Record().size + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t) + 1);
        std::memset(ownStorage_.data(), 0, ownStorage_.size() * sizeof(std::max_align_t));
        ClearRecord(ownStorage_.data(), f.Record());
    }
    sequence.Configure(&f, -1);
}

FileInstance::~FileInstance() { Release(); }

void FileInstance::Release() {
    if (streaming && db) {
        if (--db->streamers == 0) db->Own().Exec("COMMIT");
        db->Changed();
    }
    streaming = false;
    db.reset();
    open = false;
    currentId = 0;
    watchArmed = watchActive = false;
}

void FileInstance::TakeRecord(const char* data, std::int64_t id, std::int64_t rev) {
    CopyRecord(Buffer(), data, file->Record());
    currentId = id;
    currentRev = rev;
    lastBytes = DeclaredSize(file->Record());
    readSinceOpen = true;
    if (watchArmed) {
        watchActive = true;
        watchRev = rev;
        watchArmed = false;
    }
}

File::File(FileDecl decl) : decl_(std::move(decl)) {
    if (!decl_.record) throw std::invalid_argument("file " + decl_.label + " has no record declaration");
    for (const auto& k : decl_.keys) {
        std::vector<int> fields;
        for (const auto& c : k.components) {
            const int i = decl_.record->Find(c);
            if (i < 0) throw std::invalid_argument("key " + k.name + " of " + decl_.label + " names no field " + c);
            fields.push_back(i);
        }
        if (fields.empty()) throw std::invalid_argument("key " + k.name + " of " + decl_.label + " has no components");
        keyFields_.push_back(std::move(fields));
    }
}

File::~File() {
    // Every thread's instance goes with the declaration.
    std::vector<std::unique_ptr<FileInstance>> gone;
    for (auto& [context, table] : Instances()) {
        auto it = table.find(this);
        if (it == table.end()) continue;
        gone.push_back(std::move(it->second));
        table.erase(it);
    }
}

Key File::FindKey(std::string_view name) {
    const std::string& pre = decl_.record->prefix;
    if (name.size() > pre.size() + 1 && CompareFolded(name.substr(0, pre.size()), pre) == 0 &&
        (name[pre.size()] == ':' || name[pre.size()] == '.'))
        name.remove_prefix(pre.size() + 1);
    for (int i = 0; i < KeyCount(); ++i)
        if (CompareFolded(decl_.keys[static_cast<std::size_t>(i)].name, name) == 0 &&
            decl_.keys[static_cast<std::size_t>(i)].name.size() == name.size())
            return Key{this, i};
    return Key{};
}

FileInstance& File::Instance() {
    if (!decl_.thread) {
        if (!shared_) shared_ = std::make_unique<FileInstance>(*this);
        return *shared_;
    }
    const ThreadContext* context = &CurrentContext();
    if (lastInstance_ && lastContext_ == context && lastAge_ == RegistryAge()) return *lastInstance_;
    auto& table = Instances()[context];
    auto it = table.find(this);
    if (it != table.end()) {
        lastContext_ = context;
        lastAge_ = RegistryAge();
        lastInstance_ = it->second.get();
        return *it->second;
    }
    ThreadFiles& guard = ThreadSlot<ThreadFiles>();
    guard.context = context;
    auto inst = std::make_unique<FileInstance>(*this);
    FileInstance& ref = *inst;
    table.emplace(this, std::move(inst));
    return ref;
}

void* File::Buffer() { return Instance().Buffer(); }

}  // namespace fw
