#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "core/call_source_options.h"
#include "platform/call_source.h"
#include "ui/anrufquellen_sources.h"
#include "ui/call_sources.h"

namespace kw::ui {

// One call source of a system: how the dialog shows it and how it is made once switched on.
// `Context` is what the system's sources are made from.
template <class Context>
struct CatalogueRow {
    SourceRow dialog;
    std::unique_ptr<platform::CallSource> (*make)(const CallSourceOptions& options,
                                                  Context& context);
};

template <class Context, std::size_t N>
std::vector<SourceRow> DialogRows(const std::array<CatalogueRow<Context>, N>& catalogue) {
    std::vector<SourceRow> rows;
    for (const CatalogueRow<Context>& row : catalogue) {
        rows.push_back(row.dialog);
    }
    return rows;
}

// The sources switched on, in the catalogue's order.
template <class Context, std::size_t N>
std::vector<KindedSource> SwitchedOnSources(const std::array<CatalogueRow<Context>, N>& catalogue,
                                            const CallSourceOptions& options, Context& context) {
    std::vector<KindedSource> sources;
    for (const CatalogueRow<Context>& row : catalogue) {
        if (SwitchedOn(options, row.dialog.key)) {
            sources.push_back({row.dialog.kind, row.make(options, context)});
        }
    }
    return sources;
}

}  // namespace kw::ui
