#include "toolkit/core/Units.h"

#include <cstring>
#include <vector>

namespace Units {
namespace {

struct Entry {
    const char *name;
    Procedure initialize;
    Procedure finalize;
    bool initialized = false;
};

std::vector<Entry> &entries()
{
    static std::vector<Entry> list;
    return list;
}

Entry *find(const char *name)
{
    for (Entry &e : entries())
        if (std::strcmp(e.name, name) == 0)
            return &e;
    return nullptr;
}

} // namespace

void Add(const char *name, Procedure initialize, Procedure finalize)
{
    if (find(name))
        return;
    entries().push_back({name, initialize, finalize});
}

void InitializeAll()
{
    // Index loop: an initialisation may register further units.
    for (std::size_t i = 0; i < entries().size(); ++i) {
        if (entries()[i].initialized)
            continue;
        entries()[i].initialized = true;
        if (entries()[i].initialize)
            entries()[i].initialize();
    }
}

void FinalizeAll()
{
    auto &list = entries();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (!it->initialized)
            continue;
        it->initialized = false;
        if (it->finalize)
            it->finalize();
    }
}

bool IsInitialized(const char *name)
{
    const Entry *e = find(name);
    return e && e->initialized;
}

} // namespace Units
