#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/failure.h"

namespace kw::posix {

// A part of the program built apart (say, what a call source needs and the plain window does
// not), loaded only once it is used. It stays loaded for the rest of the run, so objects it made
// may outlive this handle.
class SharedModule {
  public:
    // The first of `directories` that holds `fileName` wins; a file that is there but does not
    // load is a failure, not a reason to look further. The description names the file and says
    // what the system said, in the system's words.
    static Result<SharedModule> Open(std::string_view fileName,
                                     const std::vector<std::string>& directories);

    SharedModule(SharedModule&& other) noexcept;
    SharedModule& operator=(SharedModule&& other) noexcept;
    SharedModule(const SharedModule&) = delete;
    SharedModule& operator=(const SharedModule&) = delete;
    ~SharedModule();

    // The entry point called `name`, or why there is none.
    Result<void*> entry(const char* name) const;

  private:
    SharedModule(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}

    void* handle_ = nullptr;
    std::string path_;
};

// A module with the entry point it was opened for.
template <class Function>
struct ModuleEntry {
    SharedModule module;
    Function function;
};

// Opens `fileName` as SharedModule::Open does and finds `name` in it; `Function` must be the
// type the module defines `name` with.
template <class Function>
Result<ModuleEntry<Function>> OpenEntry(std::string_view fileName, const char* name,
                                        const std::vector<std::string>& directories) {
    auto module = SharedModule::Open(fileName, directories);
    if (!module.ok()) {
        return module.failure();
    }
    auto symbol = module.value().entry(name);
    if (!symbol.ok()) {
        return symbol.failure();
    }
    return ModuleEntry<Function>{std::move(module.value()),
                                 reinterpret_cast<Function>(symbol.value())};
}

// Where the program's modules are: the directory they are installed to, seen from the
// executable's own, then the executable's directory itself (the build tree).
std::vector<std::string> ModuleDirectories();

}  // namespace kw::posix
