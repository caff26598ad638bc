#include "platform/data/bind.h"

#include "platform/runtime/thread_context.h"
#include "platform/text/codepage.h"

#include <string>
#include <vector>

namespace fw {
namespace {

struct Variable {
    std::string name;
    data::BoundName bound;
};
struct Group {
    const RecordDecl* decl;
    void* buffer;
};
struct Scope {
    std::vector<Variable> variables;
    std::vector<Group> groups;
};
struct BindState {
    std::vector<Scope> scopes;
    Scope& Top() {
        if (scopes.empty()) scopes.emplace_back();
        return scopes.back();
    }
};

BindState& State() { return ThreadSlot<BindState>(); }

bool SameName(std::string_view a, std::string_view b) { return a.size() == b.size() && CompareFolded(a, b) == 0; }

}  // namespace

namespace data {

void BindVariable(std::string_view name, FieldType type, void* address, std::size_t size) {
    Scope& s = State().Top();
    for (auto& v : s.variables)
        if (SameName(v.name, name)) {
            v.bound = BoundName{FieldDecl{std::string(name), type, 0, size}, address};
            return;
        }
    s.variables.push_back({std::string(name), BoundName{FieldDecl{std::string(name), type, 0, size}, address}});
}

bool LookupBound(std::string_view name, BoundName* out) {
    auto& scopes = State().scopes;
    for (auto it = scopes.rbegin(); it != scopes.rend(); ++it) {
        for (const auto& v : it->variables)
            if (SameName(v.name, name)) {
                *out = v.bound;
                return true;
            }
        for (auto g = it->groups.rbegin(); g != it->groups.rend(); ++g) {
            const std::string& pre = g->decl->prefix;
            if (name.size() <= pre.size() + 1 || name[pre.size()] != ':' || !SameName(name.substr(0, pre.size()), pre))
                continue;
            const std::string_view field = name.substr(pre.size() + 1);
            for (const auto& f : g->decl->fields)
                if (SameName(f.name, field)) {
                    *out = BoundName{f, g->buffer};
                    return true;
                }
        }
    }
    return false;
}

}  // namespace data

void BIND(const RecordDecl& group, void* buffer) {
    Scope& s = State().Top();
    for (auto& g : s.groups)
        if (g.decl == &group) {
            g.buffer = buffer;
            return;
        }
    s.groups.push_back({&group, buffer});
}

void BIND(File& f) { BIND(f.Record(), f.Buffer()); }

void UNBIND(std::string_view name) {
    Scope& s = State().Top();
    std::erase_if(s.variables, [&](const Variable& v) { return SameName(v.name, name); });
}

void PUSHBIND() {
    State().Top();
    State().scopes.emplace_back();
}

void POPBIND() {
    auto& scopes = State().scopes;
    if (scopes.size() > 1) scopes.pop_back();
    else if (!scopes.empty()) scopes.back() = Scope{};
}

}  // namespace fw
