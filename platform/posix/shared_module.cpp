#include "platform/posix/shared_module.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#include <utility>

#include "core/error_numbers.h"
#include "platform/posix/posix_program_info.h"

#ifndef KW_MODULE_SUBDIRECTORY
// KW_MODULE_SUBDIRECTORY comes from platform/posix/CMakeLists.txt.
#error "KW_MODULE_SUBDIRECTORY is not defined"
#endif

namespace kw::posix {

namespace {

std::string LoaderText() {
    const char* text = ::dlerror();
    return text != nullptr ? std::string(text) : std::string("unbekannter Fehler");
}

}  // namespace

Result<SharedModule> SharedModule::Open(std::string_view fileName,
                                        const std::vector<std::string>& directories) {
    for (const std::string& directory : directories) {
        const std::filesystem::path path = std::filesystem::path(directory) / fileName;
        std::error_code error;
        // Never relative to the working directory, whoever chose that.
        if (!path.is_absolute() || !std::filesystem::is_regular_file(path, error)) {
            continue;
        }
        // NODELETE: Qt and the libraries below keep threads and registrations that must not
        // lose their code, whatever closes the handle.
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (handle == nullptr) {
            return Failure{error::kCannotCreateObject, LoaderText()};
        }
        return SharedModule(handle, path.string());
    }
    return Failure{error::kFileNotFound, std::string(fileName) + " nicht gefunden"};
}

SharedModule::SharedModule(SharedModule&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), path_(std::move(other.path_)) {}

SharedModule& SharedModule::operator=(SharedModule&& other) noexcept {
    if (this != &other) {
        if (handle_ != nullptr) {
            ::dlclose(handle_);
        }
        handle_ = std::exchange(other.handle_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

SharedModule::~SharedModule() {
    if (handle_ != nullptr) {
        ::dlclose(handle_);
    }
}

Result<void*> SharedModule::entry(const char* name) const {
    ::dlerror();
    void* symbol = ::dlsym(handle_, name);
    if (symbol == nullptr) {
        return Failure{error::kCannotCreateObject, path_ + ": " + name + " fehlt"};
    }
    return symbol;
}

std::vector<std::string> ModuleDirectories() {
    const std::string own = PosixProgramInfo().directory();
    if (own.empty()) {
        return {};
    }
    const std::filesystem::path installed =
        (std::filesystem::path(own) / KW_MODULE_SUBDIRECTORY).lexically_normal();
    return {installed.string(), own};
}

}  // namespace kw::posix
