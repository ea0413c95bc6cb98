#pragma once

// A library opened only when first needed, so that desktops and users who
// never need it do not carry it in memory all day.

#include <dlfcn.h>

#include <optional>

namespace tamsel::qt {

class LoadedLibrary {
public:
    explicit LoadedLibrary(const char* soname) : handle_(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {}

    // Points function at the symbol of that name; the library stays usable
    // only while every one bound was found.
    template <typename Function>
    void bind(Function& function, const char* name) {
        function = handle_ ? reinterpret_cast<Function>(dlsym(handle_, name)) : nullptr;
        complete_ = complete_ && function != nullptr;
    }
    bool usable() const { return handle_ && complete_; }

private:
    void* handle_;
    bool complete_ = true;
};

// The table of a library's functions, filled by bindAll at the first call;
// null when the library or any of its functions is missing. Never closed:
// what it registered (types, threads) may outlive a close.
template <typename Table, typename BindAll>
const Table* loadOnce(const char* soname, BindAll bindAll) {
    static const std::optional<Table> table = [&]() -> std::optional<Table> {
        LoadedLibrary library(soname);
        Table functions{};
        bindAll(library, functions);
        if (!library.usable()) return std::nullopt;
        return functions;
    }();
    return table ? &*table : nullptr;
}

}  // namespace tamsel::qt
