#include "core/database_call.h"

#include <vector>

#include "core/error_numbers.h"

namespace kw {

MaybeFailure CallDatabaseProcedure(platform::Automation& automation, AppOptions& options,
                                   CallInfo& call) {
    auto created = automation.create(kDatabaseProgId);
    if (!created.ok()) {
        return created.failure();
    }
    // Owned here, so the object is released on every way out of this call.
    const std::unique_ptr<platform::AutomationObject> database = std::move(created.value());
    if (!database) {
        return MakeFailure(error::kCannotCreateObject);
    }

    const platform::NamedArgument open[] = {{"filepath", &options.Database}, {"Exclusive", false}};
    if (auto failure = database->invoke("OpenCurrentDatabase", {}, open)) {
        return failure;
    }

    std::vector<platform::AutomationArgument> run{&options.Procedure, &call.AnrufNummer};
    if (options.Parameter) {
        run.emplace_back(&call.MSN);
    }
    if (auto failure = database->invoke("Run", run, {})) {
        return failure;
    }
    return database->invoke("Quit", {}, {});
}

}  // namespace kw
